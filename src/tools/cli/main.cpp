#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "device/SerialPort.h"
#include "platform/ProgramArguments.h"
#include "tools/cli/Cli.h"
#include "tools/cli/ConsoleUserServices.h"

int main(int argc, char** argv) {
    // File names and texts are UTF-8 inside, whatever the system's code page.
    useUtf8Console();
    std::vector<std::string> arguments = programArguments(argc, argv);
    std::vector<char*> utf8Argv;
    for (std::string& argument : arguments) utf8Argv.push_back(argument.data());
    utf8Argv.push_back(nullptr);

    // FILTARO_VERBOSE=1 also shows the status texts of long operations.
    const char* verbose = std::getenv("FILTARO_VERBOSE");
    ConsoleUserServices console(
        std::cerr, verbose != nullptr && std::strcmp(verbose, "0") != 0 && *verbose != '\0');
    installUserServices(&console);
    SerialPort port;
    const int status =
        runCli(static_cast<int>(arguments.size()), utf8Argv.data(), std::cout, std::cerr, port);
    installUserServices(nullptr);
    return status;
}
