// windows-probe: what the end-to-end tests under Wine (scripts/test-windows.sh)
// need to do or see beside filtaro-cli.exe.
//
//   windows-probe leave-com-state PORT
//     plays another program that used the serial port before and left its
//     driver in a state of its own: XON/XOFF both ways, null stripping, a
//     parity check with an error character, abort on errors, a DSR handshake
//     and DTR off. Prints the state the driver then reports; status 0 when
//     it took XON/XOFF (Wine keeps no more of them on a pseudo-terminal).
//   windows-probe code-page
//     prints the console's output code page.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int leaveComState(const char* name) {
    const std::string path = std::string("\\\\.\\") + name;
    const HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "%s: not opened (error %lu)\n", name, GetLastError());
        return 1;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    bool ok = GetCommState(port, &dcb) != 0;
    dcb.fOutX = TRUE;
    dcb.fInX = TRUE;
    dcb.fNull = TRUE;
    dcb.fParity = TRUE;
    dcb.fErrorChar = TRUE;
    dcb.ErrorChar = '?';
    dcb.fAbortOnError = TRUE;
    dcb.fOutxDsrFlow = TRUE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    ok = ok && SetCommState(port, &dcb) != 0;
    DCB back{};
    back.DCBlength = sizeof back;
    ok = ok && GetCommState(port, &back) != 0;
    std::printf(
        "fOutX=%u fInX=%u fNull=%u fParity=%u fErrorChar=%u fAbortOnError=%u "
        "fOutxDsrFlow=%u fDtrControl=%u\n",
        back.fOutX, back.fInX, back.fNull, back.fParity, back.fErrorChar, back.fAbortOnError,
        back.fOutxDsrFlow, back.fDtrControl);
    CloseHandle(port);
    return ok && back.fOutX && back.fInX ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "leave-com-state") == 0) return leaveComState(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "code-page") == 0) {
        std::printf("%u\n", GetConsoleOutputCP());
        return 0;
    }
    std::fprintf(stderr, "usage: windows-probe leave-com-state PORT | code-page\n");
    return 2;
}
