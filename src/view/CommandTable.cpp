#include "view/CommandTable.h"

#include <type_traits>

#include "view/CommandIds.h"
#include "view/Commands.h"

namespace {

// A handler or rule as the table calls it, with the id whether it uses it
// or not.
template <auto Handler>
void run(CSonaroView& view, [[maybe_unused]] int id) {
    if constexpr (std::is_invocable_v<decltype(Handler), CSonaroView&, int>) {
        Handler(view, id);
    } else {
        Handler(view);
    }
}

template <auto Rule>
void rule(CSonaroView& view, [[maybe_unused]] int id, QAction& action) {
    if constexpr (std::is_invocable_v<decltype(Rule), CSonaroView&, int, QAction&>) {
        Rule(view, id, action);
    } else {
        Rule(view, action);
    }
}

constexpr const char* File = "&Datei";
constexpr const char* Export = "&Datei/&Exportieren";
constexpr const char* View = "&Ansicht";
constexpr const char* Curves = "&Ansicht/&Kurven der Kanäle";
constexpr const char* Averages = "&Ansicht/M&ittelung mehrerer Messungen";
constexpr const char* Smoothings = "&Ansicht/G&lättung der Messungen";
constexpr const char* Edit = "&Bearbeiten";
constexpr const char* Communication = "&Kommunikation";
constexpr const char* Help = "&?";
constexpr bool Separated = true;
constexpr bool Changes = true;

// clang-format off
constexpr Command table[] = {
    // id, menu, separated, text, shortcut, other shortcut, prompt, handler, rule, changes settings
    {CmdFileNew, File, false, "&Neu", "Ctrl+N", nullptr,
     "Zurücksetzen aller Daten.\nNeu", run<onFileNew>, nullptr, Changes},
    {CmdFileOpen, File, false, "Ö&ffnen...", "Ctrl+O", nullptr,
     "Öffnet vorhandes Preset.\nÖffnen", run<onFileOpen>, nullptr, Changes},
    {CmdFileSave, File, false, "S&peichern...", "Ctrl+S", nullptr,
     "Speichert Preset.\nSpeichern", run<onFileSave>},
    {CmdLoadBackup, File, false, "Sicherung &laden...", nullptr, nullptr,
     "Lädt Einstellungen aus einer Sicherung.\nSicherung laden", run<onLoadBackup>, nullptr,
     Changes},
    {CmdExportPlotPng, Export, false, "Grafik als &PNG...", nullptr, nullptr,
     "Speichert die Grafik, wie sie zu sehen ist, als PNG-Bild.", run<onExportPlot>},
    {CmdExportPlotSvg, Export, false, "Grafik als &SVG...", nullptr, nullptr,
     "Speichert die Grafik, wie sie zu sehen ist, als SVG-Grafik.", run<onExportPlot>},
    {CmdExportCurvesCsv, Export, false, "Kurven als &CSV...", nullptr, nullptr,
     "Speichert die Kurven der Ansicht als CSV-Tabelle.", run<onExportPlot>},
    {CmdExportFilterSettings, Export, Separated, "&Filtereinstellungen...", nullptr, nullptr,
     "Speichert die Filtereinstellungen für Equalizer APO, REW oder CamillaDSP.",
     run<onExportFilterSettings>},
    {CmdAppExit, File, Separated, "&Beenden", nullptr, nullptr,
     "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"},

    {CmdGraphOptions, View, false, "Grafikoptionen...", nullptr, nullptr,
     "Stellt die Grafikansicht ein.", run<onGraphOptions>, nullptr, Changes},
    {CmdViewToolbar, View, Separated, "&Symbolleiste", nullptr, nullptr,
     "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"},
    {CmdViewStatusBar, View, false, "S&tatusleiste", nullptr, nullptr,
     "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"},
    {CmdViewMagnitude, View, Separated, "&Betrag", nullptr, nullptr,
     "Zeigt den Betrag der Kanäle in dB.", run<onPlotView>, rule<rulePlotView>},
    {CmdViewPhase, View, false, "P&hase", nullptr, nullptr,
     "Zeigt die Phase der Kanäle in Grad.", run<onPlotView>, rule<rulePlotView>},
    {CmdViewGroupDelay, View, false, "&Gruppenlaufzeit", nullptr, nullptr,
     "Zeigt die Gruppenlaufzeit der Kanäle in ms.", run<onPlotView>, rule<rulePlotView>},
    {CmdShowSums, View, Separated, "S&ummen L und R", nullptr, nullptr,
     "Blendet die Summen L und R ein oder aus (alle Kanäle eines Eingangs zusammen).\n"
     "Summen L und R", run<onShowSums>, rule<ruleShowSums>},
    // The toolbar's channel toggles, for the keyboard. 32802 lies between
    // channel 4 and 5 and is no command.
    {CmdShowChannel1, Curves, false, "Kanal &1", "Ctrl+1", nullptr, nullptr,
     run<onShowChannel>, rule<ruleShowChannel>},
    {CmdShowChannel2, Curves, false, "Kanal &2", "Ctrl+2", nullptr, nullptr,
     run<onShowChannel>, rule<ruleShowChannel>},
    {CmdShowChannel3, Curves, false, "Kanal &3", "Ctrl+3", nullptr, nullptr,
     run<onShowChannel>, rule<ruleShowChannel>},
    {CmdShowChannel4, Curves, false, "Kanal &4", "Ctrl+4", nullptr, nullptr,
     run<onShowChannel>, rule<ruleShowChannel>},
    {CmdShowChannel5, Curves, false, "Kanal &5", "Ctrl+5", nullptr, nullptr,
     run<onShowChannel>, rule<ruleShowChannel>},
    {CmdShowChannel6, Curves, false, "Kanal &6", "Ctrl+6", nullptr, nullptr,
     run<onShowChannel>, rule<ruleShowChannel>},
    {CmdLoadMeasurement, View, Separated, "&Messung laden...", nullptr, nullptr,
     "Lädt eine Messung (REW-Textexport, FRD oder TXT) für den gezeigten Kanal.\nMessung laden",
     run<onLoadMeasurement>, nullptr, Changes},
    {CmdAddMeasurement, View, false, "Messung hin&zufügen...", nullptr, nullptr,
     "Fügt dem gezeigten Kanal eine weitere Messung hinzu, etwa von einem anderen Hörplatz; "
     "gezeichnet und angepasst wird ihr Mittel.\nMessung hinzufügen",
     run<onAddMeasurement>, nullptr, Changes},
    {CmdRemoveMeasurement, View, false, "Messung &entfernen", nullptr, nullptr,
     "Entfernt die Messungen des gezeigten Kanals.\nMessung entfernen", run<onRemoveMeasurement>,
     rule<ruleRemoveMeasurement>, Changes},
    {CmdNormaliseMeasurements, View, false, "Messung &normalisieren (200 Hz – 2 kHz auf 0 dB)",
     nullptr, nullptr,
     "Verschiebt jede Messung so, dass ihr Mittel von 200 Hz bis 2 kHz bei 0 dB liegt.",
     run<onOverlayOption>, rule<ruleOverlayOption>, Changes},
    {CmdSharedOffset, View, false, "&Alle Messungen gemeinsam verschieben", nullptr, nullptr,
     "Verschiebt beim Normalisieren alle Messungen um denselben Betrag, so dass die lauteste bei "
     "0 dB liegt und die Chassis ihr Pegelverhältnis behalten.",
     run<onOverlayOption>, rule<ruleOverlayOption>, Changes},
    {CmdShowPrediction, View, false, "&Vorhersage zeigen", nullptr, nullptr,
     "Zeigt gestrichelt, was der Kanal aus der Messung macht: Messung plus Frequenzgang.",
     run<onOverlayOption>, rule<ruleOverlayOption>, Changes},
    {CmdAveragePower, Averages, false, "&Leistung", nullptr, nullptr,
     "Mittelt mehrere Messungen eines Kanals über ihre Leistung (üblich).",
     run<onAveraging>, rule<ruleAveraging>, Changes},
    {CmdAveragePower + 1, Averages, false, "in &dB", nullptr, nullptr,
     "Mittelt mehrere Messungen eines Kanals über ihre Pegel in dB.",
     run<onAveraging>, rule<ruleAveraging>, Changes},
    {CmdAverageVector, Averages, false, "&Vektoriell (mit Phase)", nullptr, nullptr,
     "Mittelt Pegel und Phase: was alle Plätze teilen, bleibt, Reflexionen heben sich auf.",
     run<onAveraging>, rule<ruleAveraging>, Changes},
    {CmdSmoothNone, Smoothings, false, "&keine", nullptr, nullptr,
     "Zeichnet und passt die Messungen ungeglättet an.", run<onSmoothing>, rule<ruleSmoothing>,
     Changes},
    {CmdSmoothNone + 1, Smoothings, false, "1/&24 Oktave", nullptr, nullptr,
     "Glättet die Messungen über je 1/24 Oktave.", run<onSmoothing>, rule<ruleSmoothing>, Changes},
    {CmdSmoothNone + 2, Smoothings, false, "1/&12 Oktave", nullptr, nullptr,
     "Glättet die Messungen über je 1/12 Oktave (Voreinstellung).", run<onSmoothing>,
     rule<ruleSmoothing>, Changes},
    {CmdSmoothNone + 3, Smoothings, false, "1/&6 Oktave", nullptr, nullptr,
     "Glättet die Messungen über je 1/6 Oktave.", run<onSmoothing>, rule<ruleSmoothing>, Changes},
    {CmdSmoothThird, Smoothings, false, "1/&3 Oktave", nullptr, nullptr,
     "Glättet die Messungen über je 1/3 Oktave.", run<onSmoothing>, rule<ruleSmoothing>, Changes},

    {CmdEditUndo, Edit, false, "&Rückgängig", "Ctrl+Z", nullptr,
     "Nimmt die letzte Änderung der Einstellungen zurück.\nRückgängig", run<onEditUndo>,
     rule<ruleEditUndo>, Changes},
    {CmdEditRedo, Edit, false, "&Wiederholen", "Ctrl+Y", "Ctrl+Shift+Z",
     "Stellt die zuletzt zurückgenommene Änderung wieder her.\nWiederholen", run<onEditRedo>,
     rule<ruleEditRedo>, Changes},
    {CmdCopyChannel, Edit, Separated, "&Kanal kopieren...", nullptr, nullptr, nullptr,
     run<onCopyChannel>, nullptr, Changes},
    {CmdCopyPreset, Edit, false, "&Preset kopieren...", nullptr, nullptr, nullptr,
     run<onCopyPreset>, nullptr, Changes},
    {CmdImportFilters, Edit, Separated, "Filter &importieren...", nullptr, nullptr,
     "Übernimmt Filter aus einem Text von REW oder Equalizer APO in den gezeigten Kanal.",
     run<onImportFilters>, nullptr, Changes},
    {CmdNameChannel, Edit, false, "Kanal be&nennen...", nullptr, nullptr,
     "Gibt dem gezeigten Kanal einen Namen.", run<onNameShownChannel>, nullptr, Changes},
    {CmdAutoFit, Edit, Separated, "&Automatisch anpassen...", nullptr, nullptr,
     "Passt den Equalizer des gezeigten Kanals nach seinen Messungen an ein Ziel an.",
     run<onAutoFit>, rule<ruleAutoFit>, Changes},
    {CmdAlignCrossover, Edit, false, "&Übergang ausrichten...", nullptr, nullptr,
     "Richtet Verzögerung, Pegel und Weiche der Kanäle am Übergang nach ihren Messungen aus.",
     run<onAlignCrossover>, rule<ruleAlignCrossover>, Changes},

    {CmdComPort, Communication, false, "&Schnittstelle...", nullptr, nullptr,
     "Einstellen des seriellen Ports", run<onComPort>},
    {CmdDeviceSearch, Communication, false, "&Gerät suchen", nullptr, nullptr, nullptr,
     run<onDeviceSearch>},
    {CmdCompareDevice, Communication, Separated, "Mit Gerät &vergleichen", nullptr, nullptr,
     "Vergleicht die Einstellungen mit denen im Gerät.", run<onCompareDevice>, nullptr, Changes},
    {CmdVerifyAfterSend, Communication, false, "Nach dem Senden &prüfen", nullptr, nullptr,
     "Liest nach jedem Senden die Daten zurück und vergleicht sie.", run<onVerifyAfterSend>,
     rule<ruleVerifyAfterSend>},

    {CmdAppAbout, Help, false, "Inf&o über Filtaro..."},

    // The main form's buttons.
    {CmdSend, nullptr, false, nullptr, nullptr, nullptr, nullptr, run<onSend>},
    {CmdReceive, nullptr, false, nullptr, nullptr, nullptr, nullptr, run<onReceive>, nullptr,
     Changes},
    {CmdPreset1, nullptr, false, nullptr, nullptr, nullptr, nullptr, run<onPreset>},
    {CmdPreset1 + 1, nullptr, false, nullptr, nullptr, nullptr, nullptr, run<onPreset>},
    {CmdPreset1 + 2, nullptr, false, nullptr, nullptr, nullptr, nullptr, run<onPreset>},
    {CmdPreset4, nullptr, false, nullptr, nullptr, nullptr, nullptr, run<onPreset>},
};

constexpr int toolbar[] = {
    CmdFileNew,      CmdFileOpen,     CmdFileSave,     0,
    CmdShowChannel1, CmdShowChannel2, CmdShowChannel3, CmdShowChannel4, CmdShowChannel5,
    CmdShowChannel6, 0,
    CmdEditUndo,     CmdEditRedo,     0,
    CmdShowSums,
};
// clang-format on

}  // namespace

std::span<const Command> commands() {
    return table;
}

const Command* findCommand(int id) {
    for (const Command& command : table) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

std::span<const int> toolbarButtons() {
    return toolbar;
}
