#include "simulator/DevsimOptions.h"

#include <charconv>

#include "device/WireImage.h"

const char* const DevsimUsage =
    "Aufruf: filtaro-devsim [--link PFAD] [--memory DATEI] [--baud N] [--fault ART]...\n"
    "  Simuliert das Gerät an einem Pseudo-Terminal und gibt dessen Pfad aus.\n"
    "  Läuft bis SIGTERM, SIGINT oder SIGHUP und entfernt dann den Link.\n"
    "\n"
    "Optionen:\n"
    "  --link PFAD     legt einen symbolischen Link auf das Terminal an (z. B. .../COM3)\n"
    "  --memory DATEI  hält den 624-Byte-Speicher des Geräts über Läufe hinweg\n"
    "  --baud N        sendet mit der Geschwindigkeit einer Leitung von N Bit/s\n"
    "  --fault ART     silent | wrong-ack | short=N | no-ident | wrong-ident | stale=N |\n"
    "                  corrupt=N (speichert jeden Block mit Byte N um eins erhöht)\n"
    "  --help          zeigt diese Übersicht\n"
    "  --version       zeigt die Version\n"
    "\n"
    "Exit-Status:\n"
    "  0  beendet durch ein Signal, oder --help, --version\n"
    "  1  Terminal oder Link ließen sich nicht anlegen, oder die Speicherdatei ist unbrauchbar\n"
    "  2  Aufruf falsch\n";

namespace {

std::optional<int> parseCount(const std::string& text, int lo, int hi) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < lo || value > hi) {
        return std::nullopt;
    }
    return value;
}

bool applyFault(const std::string& spec, DevsimFaults& faults, std::string& error) {
    const std::size_t eq = spec.find('=');
    const std::string name = spec.substr(0, eq);
    const std::string arg = eq == std::string::npos ? "" : spec.substr(eq + 1);
    const bool takesCount = name == "short" || name == "stale" || name == "corrupt";
    if (takesCount != (eq != std::string::npos)) {
        error = takesCount ? "Fehlerart \"" + name + "\" braucht eine Anzahl (" + name + "=N)"
                           : "unbekannte Fehlerart \"" + spec + "\"";
        return false;
    }
    if (takesCount) {
        const int lastByte = static_cast<int>(WireImageSize) - 1;
        std::optional<int> n = parseCount(arg, 0, name == "stale" ? 4096 : lastByte);
        if (!n) {
            error = "ungültige Anzahl in \"" + spec + "\"";
            return false;
        }
        (name == "short"   ? faults.shortReply
         : name == "stale" ? faults.staleBytes
                           : faults.corruptByte) = *n;
        return true;
    }
    if (name == "silent") {
        faults.silent = true;
    } else if (name == "wrong-ack") {
        faults.wrongAck = true;
    } else if (name == "no-ident") {
        faults.noIdent = true;
    } else if (name == "wrong-ident") {
        faults.wrongIdent = true;
    } else {
        error = "unbekannte Fehlerart \"" + spec + "\"";
        return false;
    }
    return true;
}

}  // namespace

std::optional<DevsimOptions> parseDevsimArgs(const std::vector<std::string>& args,
                                             std::string& error) {
    error.clear();
    DevsimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") return std::nullopt;
        if (arg == "--version") {
            DevsimOptions version;
            version.printVersion = true;
            return version;
        }
        const bool takesValue =
            arg == "--link" || arg == "--memory" || arg == "--baud" || arg == "--fault";
        if (!takesValue) {
            error = "unbekanntes Argument \"" + arg + "\"";
            return std::nullopt;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = arg + " braucht einen Wert";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--link") {
            options.linkPath = value;
        } else if (arg == "--memory") {
            options.memoryFile = value;
        } else if (arg == "--baud") {
            std::optional<int> baud = parseCount(value, 1, 4000000);
            if (!baud) {
                error = "ungültige Baudrate \"" + value + "\"";
                return std::nullopt;
            }
            options.baud = *baud;
        } else if (!applyFault(value, options.faults, error)) {
            return std::nullopt;
        }
    }
    return options;
}
