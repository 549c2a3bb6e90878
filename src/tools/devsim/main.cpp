// filtaro-devsim: the device on a pseudo-terminal. Prints the terminal's path
// and serves until SIGTERM or SIGINT.

#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "buildinfo/ProgramVersion.h"
#include "tools/devsim/DeviceSimulator.h"

int main(int argc, char** argv) {
    std::string error;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::optional<DevsimOptions> options = parseDevsimArgs(args, error);
    if (!options) {
        if (error.empty()) {
            std::cout << DevsimUsage;
            return 0;
        }
        std::cerr << "filtaro-devsim: " << error << '\n' << DevsimUsage;
        return 2;
    }
    if (options->printVersion) {
        std::cout << versionLine("filtaro-devsim");
        return 0;
    }

    // Block the stop signals before the serving thread exists, so that only
    // sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    DeviceSimulator simulator(*options);
    if (!simulator.start(error)) {
        std::cerr << "filtaro-devsim: " << error << '\n';
        return 1;
    }
    std::cout << simulator.ptyPath() << std::endl;

    int received = 0;
    sigwait(&stopSignals, &received);
    simulator.stop();
    return 0;
}
