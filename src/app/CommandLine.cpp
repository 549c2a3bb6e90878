#include "app/CommandLine.h"

const char* const CommandLineUsage =
    "Aufruf: filtaro [--screenshot DATEI.png]\n"
    "  Ohne Argumente startet das Programm mit einer neuen Datei.\n"
    "\n"
    "Optionen:\n"
    "  --screenshot DATEI  durchläuft den ganzen Start, beantwortet alle Meldungen mit OK,\n"
    "                      wartet auf das erste Zeichnen der Kurven, speichert das\n"
    "                      Hauptfenster als PNG und beendet sich\n"
    "                      (auch ohne Bildschirm: QT_QPA_PLATFORM=offscreen)\n"
    "  --help              zeigt diese Übersicht\n"
    "  --version           zeigt die Version\n"
    "\n"
    "Exit-Status:\n"
    "  0  das Programm wurde beendet, oder das Bild ist gespeichert\n"
    "  1  --screenshot: das Bild ließ sich nicht speichern\n"
    "  2  Aufruf falsch\n";

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine result;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (arg == QLatin1String("--version")) {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (arg == QLatin1String("--screenshot") && result.action == CommandLine::Action::Run) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                return {CommandLine::Action::Error,
                        {},
                        QStringLiteral("--screenshot braucht den Namen der PNG-Datei.")};
            }
            result.action = CommandLine::Action::Screenshot;
            result.screenshotFile = arguments[++i];
            continue;
        }
        return {CommandLine::Action::Error,
                {},
                QStringLiteral("Unbekanntes Argument \"%1\".").arg(arg)};
    }
    return result;
}
