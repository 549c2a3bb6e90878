#include <cstdlib>
#include <cstring>
#include <iostream>

#include "device/SerialPort.h"
#include "tools/cli/Cli.h"
#include "tools/cli/ConsoleUserServices.h"

int main(int argc, char** argv) {
    // FILTARO_VERBOSE=1 also shows the status texts of long operations.
    const char* verbose = std::getenv("FILTARO_VERBOSE");
    ConsoleUserServices console(
        std::cerr, verbose != nullptr && std::strcmp(verbose, "0") != 0 && *verbose != '\0');
    installUserServices(&console);
    SerialPort port;
    const int status = runCli(argc, argv, std::cout, std::cerr, port);
    installUserServices(nullptr);
    return status;
}
