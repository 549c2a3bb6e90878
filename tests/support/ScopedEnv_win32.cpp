// Through the C runtime's wide functions, which keep its tables and the
// process environment (GetEnvironmentVariableW) in step.

#include <stdlib.h>

#include "platform/Utf8Path.h"
#include "support/ScopedEnv.h"

namespace {

std::wstring wide(const std::string& utf8) {
    return pathFromUtf8(utf8).wstring();
}

}  // namespace

std::optional<std::string> environmentValue(const std::string& name) {
    const wchar_t* value = _wgetenv(wide(name).c_str());
    if (value == nullptr) return std::nullopt;
    return utf8FromPath(std::filesystem::path(value));
}

void setEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    // An empty value removes the variable under Windows.
    _wputenv_s(wide(name).c_str(), value ? wide(*value).c_str() : L"");
}
