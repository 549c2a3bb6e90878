#include "tools/cli/Cli.h"
#include "tools/cli/CliFitOptions.h"

class BytePort;

// One line per command; each command lives in a file of its own.
// (declarations)
int cliSend(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliCompare(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliReceive(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliSearch(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliEncode(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliDecode(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliNew(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliShow(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliResponse(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliImport(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliExport(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliFit(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
int cliAlign(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
#ifdef FILTARO_CLI_PLOT
int cliPlot(const std::vector<std::string>&, std::ostream&, std::ostream&, BytePort&);
#endif

const std::vector<CliCommandEntry>& cliCommands() {
    static const std::vector<CliCommandEntry> table = {
        // (entries)
        {"send", "send DATEI [--port NAME] [--baud N] [--no-pause] [--force] [--verify]",
         "Sendet alle Presets einer Parameterdatei an das Gerät (Exit-Status 1..10: Fehlercode). "
         "Werte, die das Gerät nicht so übernehmen kann, verhindern das Senden (Status 11), außer "
         "mit --force; --verify liest danach zurück und vergleicht (Status 12 bei Abweichung).",
         cliSend},
        {"receive", "receive AUSGABE [--base DATEI] [--port NAME] [--baud N]",
         "Empfängt alle Presets vom Gerät und speichert sie als Parameterdatei.", cliReceive},
        {"compare", "compare DATEI [--port NAME] [--baud N]",
         "Vergleicht die Einstellungen im Gerät mit einer Parameterdatei (Status 0: gleich, 12: "
         "Abweichungen).",
         cliCompare},
        {"search", "search",
         "Sucht das Gerät an COM1 bis COM255 und trägt den Port in FILTARO.INI ein.", cliSearch},
        {"encode", "encode DATEI AUSGABE",
         "Schreibt das Wire-Image (624 Bytes), das ein Senden der Datei überträgt.", cliEncode},
        {"decode", "decode WIRE BASIS AUSGABE",
         "Dekodiert ein Wire-Image in die Kanäle von BASIS und speichert das Ergebnis.", cliDecode},
        {"new", "new DATEI", "Schreibt eine Parameterdatei mit den Voreinstellungen.", cliNew},
        {"show", "show DATEI",
         "Zeigt eine Parameterdatei als Tabellen: Kopf und alle Presets und Kanäle.", cliShow},
        {"response",
         "response DATEI [--preset N] [--view magnitude|phase|groupdelay] [--sum] [--csv]",
         "Gibt die Kurven der sechs Kanäle eines Presets (1..4, Vorgabe 1) in 2000 Zeilen aus: "
         "Betrag (dB), Phase (Grad) oder Gruppenlaufzeit (ms); --sum mit Summe L und R, --csv als "
         "CSV.",
         cliResponse},
        {"import",
         "import DATEI FILTER.txt --preset N --channel K [--block NAME] [--refit] "
         "[--out AUSGABE.dat]",
         "Übernimmt Filter aus einer REW- oder Equalizer-APO-Datei in einen Kanal, zeigt jede "
         "Rundung und speichert in DATEI (oder AUSGABE); bei mehreren Kanalblöcken wählt --block; "
         "--refit passt die Bänder als Ganzes auf das Raster des Geräts an, statt jeden Filter zu "
         "runden.",
         cliImport},
        {"export",
         "export DATEI --format apo|rew|camilladsp [--preset N] [--channel K] [--rate HZ] "
         "[--out AUSGABE]",
         "Gibt einen Kanal oder das Preset (Vorgabe 1) für Equalizer APO, REW (ein Kanal) oder "
         "CamillaDSP (alle Kanäle, Abtastrate Vorgabe 48000 Hz) aus; ohne --out auf die "
         "Standardausgabe.",
         cliExport},
        {"fit", FitUsage,
         "Passt die sechs EQ-Bänder (und den Pegel) eines Kanals an ein Ziel an, auf dem Raster "
         "des Geräts; zeigt die Bänder und den Fehler vorher, nachher und ohne Raster, speichert "
         "mit --out (DATEI bleibt unverändert). Mehrere Messungen werden gemittelt (Vorgabe "
         "power), geglättet (Vorgabe 1/12), das Ziel folgt der Frequenzweiche. Status 0: "
         "angepasst, 1: Datei nicht lesbar oder Anpassung nicht möglich, 2: Aufruf falsch.",
         cliFit},
        {"align", AlignUsage,
         "Richtet die Kanäle aus, die sich an einer Frequenzweiche treffen (zwei oder drei einer "
         "Eingangsseite), aus Messungen ihrer Treiber mit Phase: Verzögerung in Taps, Pegel, mit "
         "--vary crossover auch Frequenz und Typ des Übergangs (--types: Codes 1..9, Vorgabe: "
         "die Typen gleicher Steilheit); --hold hält einen Kanal fest (Vorgabe: der erste). "
         "Zeigt die besten Vorschläge mit ihrer Abweichung vom Ziel im Bereich (Vorgabe: eine "
         "Oktave um den Übergang), Warnungen und was sich nicht prüfen lässt; ohne Phase werden "
         "nur die Pegel angeglichen. --out speichert den besten Vorschlag (DATEI bleibt "
         "unverändert). Status 0: ausgerichtet, 1: Datei nicht lesbar oder Ausrichten nicht "
         "möglich, 2: Aufruf falsch.",
         cliAlign},
#ifdef FILTARO_CLI_PLOT
        {"plot",
         "plot DATEI AUSGABE.png|AUSGABE.svg [--size BxH] [--preset N] "
         "[--view magnitude|phase|groupdelay] [--sum]",
         "Zeichnet die Frequenzgänge eines Presets (1..4, Vorgabe 1) wie das Programm als PNG, "
         "bei der Endung .svg als SVG; Vorgabegröße wie im Hauptfenster beim Start. --view wählt "
         "Betrag, Phase oder Gruppenlaufzeit, --sum zeigt die Summen L und R.",
         cliPlot},
#endif
    };
    return table;
}
