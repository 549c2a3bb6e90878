#pragma once
// Runs a filtaro-cli command in-process, as `filtaro-cli args...` would, on
// the given line (by default one on which no port exists).
// Header-only: only suites that link filtaro_cli include it.

#include <sstream>
#include <string>
#include <vector>

#include "simulator/SimulatedPort.h"
#include "tools/cli/Cli.h"

struct CliResult {
    int status = 0;
    std::string out;
    std::string err;
};

inline CliResult runCliCommand(std::vector<std::string> args, BytePort& port) {
    args.insert(args.begin(), "filtaro-cli");
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::ostringstream out;
    std::ostringstream err;
    CliResult r;
    r.status = runCli(static_cast<int>(args.size()), argv.data(), out, err, port);
    r.out = out.str();
    r.err = err.str();
    return r;
}

inline CliResult runCliCommand(std::vector<std::string> args) {
    SimulatedPort noPorts;
    return runCliCommand(std::move(args), noPorts);
}
