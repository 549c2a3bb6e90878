#include "view/CSonaroView.h"
#include "view/CommandIds.h"

// The view's command map: one line per command or id range. Each handler
// lives in a CSonaroView*Commands.cpp file of its own group.
const std::vector<CSonaroView::CommandEntry>& CSonaroView::commandTable() {
    static const std::vector<CommandEntry> table = {
        {CmdFileNew, CmdFileNew, &CSonaroView::onFileNew, nullptr},
        {CmdFileOpen, CmdFileOpen, &CSonaroView::onFileOpen, nullptr},
        {CmdFileSave, CmdFileSave, &CSonaroView::onFileSave, nullptr},
        {CmdSend, CmdSend, &CSonaroView::onSend, nullptr},
        {CmdReceive, CmdReceive, &CSonaroView::onReceive, nullptr},
        {CmdComPort, CmdComPort, &CSonaroView::onComPort, nullptr},
        {CmdPreset1, CmdPreset4, &CSonaroView::onPreset, nullptr},
        // 32802 lies between channel 4 and 5 and is no command.
        {CmdShowChannel1, CmdShowChannel4, &CSonaroView::onShowChannel,
         &CSonaroView::onUpdateShowChannel},
        {CmdShowChannel5, CmdShowChannel6, &CSonaroView::onShowChannel,
         &CSonaroView::onUpdateShowChannel},
        {CmdDeviceSearch, CmdDeviceSearch, &CSonaroView::onDeviceSearch, nullptr},
        {CmdCopyChannel, CmdCopyChannel, &CSonaroView::onCopyChannel, nullptr},
        {CmdCopyPreset, CmdCopyPreset, &CSonaroView::onCopyPreset, nullptr},
        {CmdGraphOptions, CmdGraphOptions, &CSonaroView::onGraphOptions, nullptr},
        {CmdEditUndo, CmdEditUndo, &CSonaroView::onEditUndo, &CSonaroView::onUpdateEditUndo},
        {CmdEditRedo, CmdEditRedo, &CSonaroView::onEditRedo, &CSonaroView::onUpdateEditRedo},
        {CmdCompareDevice, CmdCompareDevice, &CSonaroView::onCompareDevice, nullptr},
        {CmdVerifyAfterSend, CmdVerifyAfterSend, &CSonaroView::onVerifyAfterSend,
         &CSonaroView::onUpdateVerifyAfterSend},
        {CmdLoadBackup, CmdLoadBackup, &CSonaroView::onLoadBackup, nullptr},
        {CmdViewMagnitude, CmdViewGroupDelay, &CSonaroView::onPlotView,
         &CSonaroView::onUpdatePlotView},
        {CmdShowSums, CmdShowSums, &CSonaroView::onShowSums, &CSonaroView::onUpdateShowSums},
        {CmdExportPlotPng, CmdExportCurvesCsv, &CSonaroView::onExportPlot, nullptr},
        {CmdImportFilters, CmdImportFilters, &CSonaroView::onImportFilters, nullptr},
        {CmdExportFilterSettings, CmdExportFilterSettings, &CSonaroView::onExportFilterSettings,
         nullptr},
        {CmdNameChannel, CmdNameChannel, &CSonaroView::onNameShownChannel, nullptr},
        {CmdLoadMeasurement, CmdLoadMeasurement, &CSonaroView::onLoadMeasurement, nullptr},
        {CmdRemoveMeasurement, CmdRemoveMeasurement, &CSonaroView::onRemoveMeasurement,
         &CSonaroView::onUpdateRemoveMeasurement},
        {CmdNormaliseMeasurements, CmdShowPrediction, &CSonaroView::onOverlayOption,
         &CSonaroView::onUpdateOverlayOption},
    };
    return table;
}
