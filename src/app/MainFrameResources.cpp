#include "app/MainFrameResources.h"

#include "view/CommandIds.h"

namespace {

// Room for more exports of the same kind.
constexpr MenuItemRow exportItems[] = {
    {CmdExportPlotPng, "Grafik als &PNG..."},
    {CmdExportPlotSvg, "Grafik als &SVG..."},
    {CmdExportCurvesCsv, "Kurven als &CSV..."},
    {0, ""},
    {CmdExportFilterSettings, "&Filtereinstellungen..."},
};

constexpr MenuItemRow fileItems[] = {
    {CmdFileNew, "&Neu\tStrg+N"},
    {CmdFileOpen, "Ö&ffnen...\tStrg+O"},
    {CmdFileSave, "S&peichern...\tStrg+S"},
    {CmdLoadBackup, "Sicherung &laden..."},
    {0, "&Exportieren", exportItems},
    {0, ""},
    {CmdAppExit, "&Beenden"},
};

// The toolbar's channel toggles, for the keyboard.
constexpr MenuItemRow channelItems[] = {
    {CmdShowChannel1, "Kanal &1\tStrg+1"}, {CmdShowChannel2, "Kanal &2\tStrg+2"},
    {CmdShowChannel3, "Kanal &3\tStrg+3"}, {CmdShowChannel4, "Kanal &4\tStrg+4"},
    {CmdShowChannel5, "Kanal &5\tStrg+5"}, {CmdShowChannel6, "Kanal &6\tStrg+6"},
};

constexpr MenuItemRow viewItems[] = {
    {CmdGraphOptions, "Grafikoptionen..."},
    {0, ""},
    {CmdViewToolbar, "&Symbolleiste"},
    {CmdViewStatusBar, "S&tatusleiste"},
    {0, ""},
    {CmdViewMagnitude, "&Betrag"},
    {CmdViewPhase, "P&hase"},
    {CmdViewGroupDelay, "&Gruppenlaufzeit"},
    {0, ""},
    {CmdShowSums, "S&ummen L und R"},
    {0, "&Kurven der Kanäle", channelItems},
    {0, ""},
    {CmdLoadMeasurement, "&Messung laden..."},
    {CmdRemoveMeasurement, "Messung &entfernen"},
    {CmdNormaliseMeasurements, "Messung &normalisieren (200 Hz – 2 kHz auf 0 dB)"},
    {CmdShowPrediction, "&Vorhersage zeigen"},
};

constexpr MenuItemRow editItems[] = {
    {CmdEditUndo, "&Rückgängig\tStrg+Z"},         {CmdEditRedo, "&Wiederholen\tStrg+Y"},  {0, ""},
    {CmdCopyChannel, "&Kanal kopieren..."},       {CmdCopyPreset, "&Preset kopieren..."}, {0, ""},
    {CmdImportFilters, "Filter &importieren..."}, {CmdNameChannel, "Kanal be&nennen..."},
};

constexpr MenuItemRow communicationItems[] = {
    {CmdComPort, "&Schnittstelle..."},
    {CmdDeviceSearch, "&Gerät suchen"},
    {0, ""},
    {CmdCompareDevice, "Mit Gerät &vergleichen"},
    {CmdVerifyAfterSend, "Nach dem Senden &prüfen"},
};

constexpr MenuItemRow helpItems[] = {
    {CmdAppAbout, "Inf&o über Filtaro..."},
};

constexpr MenuRow menus[] = {
    {"&Datei", fileItems},      {"&Ansicht", viewItems},
    {"&Bearbeiten", editItems}, {"&Kommunikation", communicationItems},
    {"&?", helpItems},
};

constexpr AcceleratorRow accelerators[] = {
    {CmdFileNew, "Ctrl+N"},      {CmdFileOpen, "Ctrl+O"},     {CmdFileSave, "Ctrl+S"},
    {CmdEditUndo, "Ctrl+Z"},     {CmdEditRedo, "Ctrl+Y"},     {CmdEditRedo, "Ctrl+Shift+Z"},
    {CmdShowChannel1, "Ctrl+1"}, {CmdShowChannel2, "Ctrl+2"}, {CmdShowChannel3, "Ctrl+3"},
    {CmdShowChannel4, "Ctrl+4"}, {CmdShowChannel5, "Ctrl+5"}, {CmdShowChannel6, "Ctrl+6"},
};

// clang-format off
constexpr int toolbarButtons[] = {
    CmdFileNew,
    CmdFileOpen,
    CmdFileSave,
    0,
    CmdShowChannel1,
    CmdShowChannel2,
    CmdShowChannel3,
    CmdShowChannel4,
    CmdShowChannel5,
    CmdShowChannel6,
    0,
    CmdEditUndo,
    CmdEditRedo,
    0,
    CmdShowSums,
};
// clang-format on

struct PromptRow {
    int id;
    const char* text;
};

constexpr PromptRow prompts[] = {
    {CmdComPort, "Einstellen des seriellen Ports"},
    {CmdGraphOptions, "Stellt die Grafikansicht ein."},
    {CmdFileNew, "Zurücksetzen aller Daten.\nNeu"},
    {CmdFileOpen, "Öffnet vorhandes Preset.\nÖffnen"},
    {CmdFileSave, "Speichert Preset.\nSpeichern"},
    {CmdAppExit, "Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen.\nBeenden"},
    {CmdViewMagnitude, "Zeigt den Betrag der Kanäle in dB."},
    {CmdViewPhase, "Zeigt die Phase der Kanäle in Grad."},
    {CmdViewGroupDelay, "Zeigt die Gruppenlaufzeit der Kanäle in ms."},
    {CmdShowSums,
     "Blendet die Summen L und R ein oder aus (alle Kanäle eines Eingangs zusammen).\nSummen L "
     "und R"},
    {CmdExportPlotPng, "Speichert die Grafik, wie sie zu sehen ist, als PNG-Bild."},
    {CmdExportPlotSvg, "Speichert die Grafik, wie sie zu sehen ist, als SVG-Grafik."},
    {CmdExportCurvesCsv, "Speichert die Kurven der Ansicht als CSV-Tabelle."},
    // The framework's own prompts for its bar toggles.
    {CmdViewToolbar, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein-/ausschalten"},
    {CmdViewStatusBar, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein-/ausschalten"},
    {CmdEditUndo, "Nimmt die letzte Änderung der Einstellungen zurück.\nRückgängig"},
    {CmdEditRedo, "Stellt die zuletzt zurückgenommene Änderung wieder her.\nWiederholen"},
    {CmdLoadBackup, "Lädt Einstellungen aus einer Sicherung.\nSicherung laden"},
    {CmdCompareDevice, "Vergleicht die Einstellungen mit denen im Gerät."},
    {CmdVerifyAfterSend, "Liest nach jedem Senden die Daten zurück und vergleicht sie."},
    {CmdLoadMeasurement,
     "Lädt eine Messung (REW-Textexport, FRD oder TXT) für den gezeigten Kanal.\nMessung laden"},
    {CmdRemoveMeasurement, "Entfernt die Messung des gezeigten Kanals.\nMessung entfernen"},
    {CmdNormaliseMeasurements,
     "Verschiebt jede Messung so, dass ihr Mittel von 200 Hz bis 2 kHz bei 0 dB liegt."},
    {CmdShowPrediction,
     "Zeigt gestrichelt, was der Kanal aus der Messung macht: Messung plus Frequenzgang."},
    {CmdImportFilters,
     "Übernimmt Filter aus einem Text von REW oder Equalizer APO in den gezeigten Kanal."},
    {CmdExportFilterSettings,
     "Speichert die Filtereinstellungen für Equalizer APO, REW oder CamillaDSP."},
    {CmdNameChannel, "Gibt dem gezeigten Kanal einen Namen."},
};

}  // namespace

std::span<const MenuRow> mainMenu() {
    return menus;
}

std::span<const AcceleratorRow> mainAccelerators() {
    return accelerators;
}

std::span<const int> mainToolbarButtons() {
    return toolbarButtons;
}

const char* commandPrompt(int id) {
    for (const PromptRow& row : prompts) {
        if (row.id == id) {
            return row.text;
        }
    }
    return nullptr;
}
