#include "tools/cli/Cli.h"

// One line per command; each command lives in a file of its own.
// (declarations)

const std::vector<CliCommandEntry>& cliCommands() {
    static const std::vector<CliCommandEntry> table = {
        // (entries)
    };
    return table;
}
