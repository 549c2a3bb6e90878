// filtaro-docgen: makes a program's manual page and bash completion from
// what the program prints for --help and --version, when it is built, so
// that neither can say other than the program.
//
//   filtaro-docgen man PROGRAM TEMPLATE RELEASE DATE OUT
//   filtaro-docgen bash-completion PROGRAM OUT
// (RELEASE and DATE: the release the page belongs to, for its footer.)

#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "storage/TextFile.h"
#include "tools/docgen/BashCompletion.h"
#include "tools/docgen/HelpText.h"
#include "tools/docgen/ManPage.h"

namespace {

constexpr std::size_t MaxText = 1 << 20;

// What `program option` prints on standard output; nothing when it cannot be
// run or does not end with 0.
std::optional<std::string> outputOf(const std::string& program, const char* option) {
    std::string command = "'";
    for (const char c : program) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += "' ";
    command += option;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string text;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0 && text.size() < MaxText) {
        text.append(buffer, n);
    }
    const int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

int fail(const std::string& message) {
    std::cerr << "filtaro-docgen: " << message << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool man = mode == "man" && argc == 7;
    if (!man && !(mode == "bash-completion" && argc == 4)) {
        std::cerr << "Aufruf: filtaro-docgen man PROGRAMM VORLAGE VERSION DATUM AUSGABE\n"
                     "       filtaro-docgen bash-completion PROGRAMM AUSGABE\n";
        return 2;
    }
    const std::string program = argv[2];
    const std::string name = std::filesystem::path(program).filename().string();
    const std::optional<std::string> help = outputOf(program, "--help");
    std::optional<std::string> version = outputOf(program, "--version");
    if (!help || !version) return fail(program + " --help oder --version schlug fehl.");
    while (!version->empty() && version->back() == '\n') version->pop_back();
    const HelpText parsed = parseHelpText(*help);
    if (parsed.synopsis.empty()) return fail(program + " --help beginnt nicht mit \"Aufruf: \".");

    std::string text;
    if (man) {
        const std::optional<std::string> page = readTextFile(argv[3], MaxText);
        if (!page) return fail(std::string(argv[3]) + " ist nicht lesbar.");
        text = renderManPage(*page, parsed, argv[4], argv[5]);
    } else {
        text = bashCompletion(name, parsed, *version);
    }
    const std::string out = argv[man ? 6 : 3];
    if (!writeTextFile(out, text)) return fail(out + " konnte nicht geschrieben werden.");
    return 0;
}
