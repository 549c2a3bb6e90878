// %APPDATA% read as UTF-16 from the process environment: getenv would give
// it in the ANSI code page, which cannot hold every user name.

#include <windows.h>

#include <filesystem>

#include "platform/UserDataFolder.h"
#include "platform/Utf8Path.h"

std::string userDataFolder() {
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetEnvironmentVariableW(L"APPDATA", value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) return {};
        if (n < value.size()) {
            value.resize(n);
            return utf8FromPath(std::filesystem::path(value));
        }
        value.resize(n);  // n is the size needed, terminator included
    }
}
