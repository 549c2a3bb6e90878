#include <windows.h>
// (windows.h first: shellapi.h needs its types)
#include <shellapi.h>

#include <cstdlib>

#include "platform/ProgramArguments.h"
#include "platform/WideText_win32.h"

namespace {

// The console outlives the program: the code page it had comes back at the
// end, or the next program in that window would print its text as UTF-8.
UINT consoleOutputCodePage = 0;

void restoreConsoleOutput() {
    if (consoleOutputCodePage != 0) SetConsoleOutputCP(consoleOutputCodePage);
}

// Ctrl+C, Ctrl+Break and closing the window end the program without exit().
BOOL WINAPI onConsoleEvent(DWORD) {
    restoreConsoleOutput();
    return FALSE;  // the system's own handling ends the program
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) arguments.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

void useUtf8Console() {
    const UINT codePage = GetConsoleOutputCP();  // 0 without a console
    if (codePage == 0 || codePage == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
    consoleOutputCodePage = codePage;
    std::atexit(restoreConsoleOutput);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}
