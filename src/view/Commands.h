#pragma once
// The handlers of the window's commands, listed in view/CommandTable.cpp.
// A handler asks the document and shows the result: the dialogs and file
// dialogs it needs, the status texts, the panels and the plot. Handlers
// that serve several ids take the id; the others do not.

#include <QString>
#include <optional>
#include <string>

#include "view/FileDialogs.h"

class CSonaroView;
class QAction;

// File (FileCommands.cpp): New, Open, Save, a backup, the plot's exports.
void onFileNew(CSonaroView& view);
void onFileOpen(CSonaroView& view);
void onFileSave(CSonaroView& view);
void onLoadBackup(CSonaroView& view);
void onExportPlot(CSonaroView& view, int id);  // CmdExportPlotPng..CmdExportCurvesCsv

// The device (DeviceCommands.cpp): send, receive, port, search, compare.
void onSend(CSonaroView& view);
void onReceive(CSonaroView& view);
void onComPort(CSonaroView& view);
void onDeviceSearch(CSonaroView& view);
void onCompareDevice(CSonaroView& view);
void onVerifyAfterSend(CSonaroView& view);
void ruleVerifyAfterSend(CSonaroView& view, QAction& action);

// Editing (EditCommands.cpp): presets, curves shown, copies, the plot's
// range, undo and redo.
void onPreset(CSonaroView& view, int id);  // CmdPreset1..CmdPreset4
void onShowChannel(CSonaroView& view, int id);
void ruleShowChannel(CSonaroView& view, int id, QAction& action);
void onCopyChannel(CSonaroView& view);
void onCopyPreset(CSonaroView& view);
void onGraphOptions(CSonaroView& view);
void onEditUndo(CSonaroView& view);
void ruleEditUndo(CSonaroView& view, QAction& action);
void onEditRedo(CSonaroView& view);
void ruleEditRedo(CSonaroView& view, QAction& action);

// What the plot shows (PlotCommands.cpp).
void onPlotView(CSonaroView& view, int id);  // CmdViewMagnitude..CmdViewGroupDelay
void rulePlotView(CSonaroView& view, int id, QAction& action);
void onShowSums(CSonaroView& view);
void ruleShowSums(CSonaroView& view, QAction& action);

// Other programs and names (InterchangeCommands.cpp).
void onImportFilters(CSonaroView& view);
void onExportFilterSettings(CSonaroView& view);
void onNameShownChannel(CSonaroView& view);
// "Kanal benennen" for `channel` (0..5), also from the tab's context menu.
void nameChannel(CSonaroView& view, int channel);

// Measurements (MeasurementCommands.cpp).
void onLoadMeasurement(CSonaroView& view);
void onAddMeasurement(CSonaroView& view);
void onRemoveMeasurement(CSonaroView& view);
void ruleRemoveMeasurement(CSonaroView& view, QAction& action);
// CmdNormaliseMeasurements, CmdSharedOffset, CmdShowPrediction
void onOverlayOption(CSonaroView& view, int id);
void ruleOverlayOption(CSonaroView& view, int id, QAction& action);
void onAveraging(CSonaroView& view, int id);  // CmdAveragePower..CmdAverageVector
void ruleAveraging(CSonaroView& view, int id, QAction& action);
void onSmoothing(CSonaroView& view, int id);  // CmdSmoothNone..CmdSmoothThird
void ruleSmoothing(CSonaroView& view, int id, QAction& action);

// Tuning from measurements (TuningCommands.cpp).
void onAutoFit(CSonaroView& view);
void ruleAutoFit(CSonaroView& view, QAction& action);
void onAlignCrossover(CSonaroView& view);
void ruleAlignCrossover(CSonaroView& view, QAction& action);

// What several handlers share (CommandSupport.cpp).
// The file dialog of `kind`, starting in the current file's folder.
std::optional<std::string> askFile(CSonaroView& view, FileDialogKind kind);
// The channel of the selected tab, which the channel commands act on.
int activeChannel(const CSonaroView& view);
// How texts name a channel: "Kanal 2 (Hochton links)", or "Kanal 2".
QString channelDisplayName(const CSonaroView& view, int channel);
