#include <windows.h>

#include "platform/SystemError.h"
#include "platform/WideText_win32.h"

namespace {

struct NotedError {
    int errnoValue = 0;
    DWORD code = ERROR_SUCCESS;
};

thread_local NotedError noted;

// Windows' message for `code` in `language`; "" when it has none there.
std::wstring messageOf(DWORD code, DWORD language) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text != nullptr ? text : L"", length);
    if (text != nullptr) LocalFree(text);
    // The messages end in a full stop and a line break; the program's
    // sentence around them has its own.
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

void noteSystemError(int errnoValue, unsigned long code) {
    noted = {errnoValue, static_cast<DWORD>(code)};
}

std::string systemErrorText(int errnoValue) {
    if (noted.code == ERROR_SUCCESS || noted.errnoValue != errnoValue) return {};
    std::wstring message = messageOf(noted.code, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN));
    // Otherwise the user's, then the system's language, then English.
    if (message.empty()) message = messageOf(noted.code, 0);
    const std::string code = "Windows-Fehler " + std::to_string(noted.code);
    return message.empty() ? code : utf8FromWide(message) + ", " + code;
}
