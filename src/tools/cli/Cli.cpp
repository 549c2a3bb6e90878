#include "tools/cli/Cli.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "buildinfo/ProgramVersion.h"
#include "model/ParameterImage.h"
#include "plotmodel/PlotView.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "tools/cli/HeldMessages.h"
#include "tools/cli/TerminalText.h"

CliArgs::CliArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                 const std::vector<std::string>& flagOptions) {
    auto known = [](const std::vector<std::string>& list, const std::string& s) {
        return std::find(list.begin(), list.end(), s) != list.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            // The end of the options: what follows are names, whatever
            // they begin with.
            m_positional.insert(m_positional.end(), args.begin() + static_cast<long>(i) + 1,
                                args.end());
            return;
        }
        if (a.rfind("--", 0) != 0) {
            m_positional.push_back(a);
        } else if (known(flagOptions, a)) {
            m_flags.push_back(a);
        } else if (known(valueOptions, a)) {
            if (i + 1 >= args.size()) {
                m_error = "Option " + a + " braucht einen Wert.";
                return;
            }
            m_values.emplace_back(a, args[++i]);
        } else {
            m_error = "Unbekannte Option " + a + ".";
            return;
        }
    }
}

std::optional<std::string> CliArgs::value(const std::string& name) const {
    std::optional<std::string> found;
    for (const auto& [n, v] : m_values) {
        if (n == name) found = v;  // the last one wins
    }
    return found;
}

std::vector<std::string> CliArgs::values(const std::string& name) const {
    std::vector<std::string> found;
    for (const auto& [n, v] : m_values) {
        if (n == name) found.push_back(v);
    }
    return found;
}

bool CliArgs::flag(const std::string& name) const {
    return std::find(m_flags.begin(), m_flags.end(), name) != m_flags.end();
}

std::optional<int> parseIntArg(const std::string& text, int lo, int hi) {
    int v = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (text.empty() || ec != std::errc() || ptr != last || v < lo || v > hi) {
        return std::nullopt;
    }
    return v;
}

std::optional<int> presetOption(const CliArgs& args) {
    const auto value = args.value("--preset");
    return value ? parseIntArg(*value, 1, PresetCount) : 1;
}

std::optional<ResponseQuantity> viewOption(const CliArgs& args) {
    const std::optional<std::string> view = args.value("--view");
    return view ? quantityFromName(*view) : ResponseQuantity::Magnitude;
}

bool loadCommandFile(ParameterImage& image, const std::string& path, std::ostream& err) {
    if (loadParameterFile(image, path) == 1) return true;
    cliFail(err, fileOpenFailure(path, ParameterFileSize));
    return false;
}

int cliFail(std::ostream& err, const std::string& message, int status) {
    err << "filtaro-cli: " << terminalText(message) << '\n';
    return status;
}

// The exit statuses of every command. (The manual page is made from this
// text, so it stays the one place they are listed.)
constexpr const char* ExitStatusHelp =
    "Exit-Status:\n"
    "  0      Erfolg; compare: Gerät und Datei stimmen überein\n"
    "  1      eine Datei war nicht lesbar oder nicht zu schreiben, ein Filtertext enthielt\n"
    "         nichts zu übernehmen, die Ausgabe ließ sich nicht schreiben; search: kein Gerät\n"
    "         gefunden; fit: keine Anpassung möglich\n"
    "  2      Aufruf falsch: unbekannter Befehl, unbekannte Option, fehlender oder ungültiger\n"
    "         Wert (send, receive, compare und search melden das mit 11)\n"
    "  1..10  send, receive, compare: der Betrag des Übertragungsfehlers (1: Port nicht zu\n"
    "         öffnen, ob nicht vorhanden, belegt oder ohne Rechte; 5: Empfangsfehler oder\n"
    "         unvollständige Antwort; 6: keine oder falsche Antwort des Geräts)\n"
    "  11     send, receive, compare, search: Aufruf oder Datei nicht verwendbar (receive: auch\n"
    "         eine Ausgabe, die sich nicht speichern ließ); send: Werte, die das Gerät nicht so\n"
    "         übernehmen kann, ohne --force. An das Gerät wurde nichts gesendet.\n"
    "  12     compare: das Gerät hält andere Einstellungen; send --verify: das Gerät hat nicht\n"
    "         übernommen, was gesendet wurde\n";

static void printUsage(std::ostream& out) {
    out << "Aufruf: filtaro-cli BEFEHL [ARGUMENTE]\n"
           "  BEFEHL --help zeigt den Aufruf eines Befehls; -- beendet die Optionen (für "
           "Dateinamen, die mit - beginnen).\n\nBefehle:\n";
    for (const auto& c : cliCommands()) {
        out << "  " << c.usage << "\n      " << c.summary << '\n';
    }
    out << "\nOptionen:\n"
           "  --help     zeigt diese Übersicht\n"
           "  --version  zeigt die Version\n\n"
        << ExitStatusHelp;
}

// "--help" among the options (before a "--").
static bool asksForHelp(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--") return false;
        if (a == "--help") return true;
    }
    return false;
}

// The last line of `text`, with its line break; "" when there is none.
static std::string lastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) return {};
    const std::size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end + 1) + '\n';
}

static int runCommand(const CliCommandEntry& command, const std::vector<std::string>& args,
                      std::ostream& out, std::ostream& err, BytePort& port) {
    if (asksForHelp(args)) {
        out << "Aufruf: filtaro-cli " << command.usage << "\n  " << command.summary << '\n';
        return 0;
    }
    // A failure is reported in exactly one line: the command's own, which
    // it writes last. Notes it wrote before, and the message boxes of the
    // core, only qualify a result and are dropped when there is none.
    HeldMessages messages;
    std::ostringstream lines;
    int status = command.run(args, out, lines, port);
    out.flush();
    if (status == 0 && !out) {
        status = cliFail(lines, CliOutputFailedText);
    }
    if (status == 0) {
        messages.release();
        err << lines.str();
    } else {
        err << lastLine(lines.str());
    }
    return status;
}

int runCli(int argc, char** argv, std::ostream& out, std::ostream& err, BytePort& port) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "help") {
        printUsage(out);
        return 0;
    }
    if (std::string(argv[1]) == "--version") {
        out << versionLine("filtaro-cli");
        return 0;
    }
    const std::string name = argv[1];
    for (const auto& c : cliCommands()) {
        if (name == c.name) {
            return runCommand(c, std::vector<std::string>(argv + 2, argv + argc), out, err, port);
        }
    }
    return cliFail(
        err, "Unbekannter Befehl \"" + name + "\" (filtaro-cli --help zeigt die Befehle).", 2);
}

std::vector<std::string> splitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}
