#pragma once
// The bash completion of a program with commands (filtaro-cli), made from
// its --help text: the commands of the section "Befehle", each with the
// options its usage line names, and the program's own options of the
// section "Optionen".

#include <string>
#include <string_view>
#include <vector>

#include "tools/docgen/HelpText.h"

struct OptionSyntax {
    std::string name;                  // "--view"
    bool takesValue = false;           // "--view magnitude|phase|groupdelay"
    std::vector<std::string> choices;  // "magnitude", ...; "tilt:" for "tilt:DB"
    bool valueMayBeFile = false;       // an alternative such as ZIELDATEI
};

struct CommandSyntax {
    std::string name;  // "response"
    std::vector<OptionSyntax> options;
};

// A usage line as the help prints it: "response DATEI [--preset N]
// [--view magnitude|phase|groupdelay] [--sum]". Every command also takes
// --help.
CommandSyntax parseUsage(std::string_view usage);

// The completion script for `program`; `version` (what --version printed)
// names the build it was made from.
std::string bashCompletion(std::string_view program, const HelpText& help,
                           std::string_view version);
