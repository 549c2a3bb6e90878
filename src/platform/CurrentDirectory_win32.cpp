// The current directory through the Win32 calls: the C runtime's
// _wgetcwd, on which std::filesystem::current_path rests, cannot report a
// directory longer than MAX_PATH. Windows keeps the current directory open,
// so it cannot be removed while it is current, and "" does not occur.

#include <windows.h>

#include "platform/CurrentDirectory.h"
#include "platform/Utf8Path.h"

std::string currentDirectory() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return utf8FromPath(std::filesystem::path(buffer));
        }
        buffer.resize(n);  // n is the size needed, terminator included
    }
}

bool setCurrentDirectory(const std::string& path) {
    if (path.empty()) return false;
    const std::wstring wide = pathFromUtf8(path).wstring();
    return !wide.empty() && SetCurrentDirectoryW(wide.c_str()) != 0;
}
