#pragma once
// Command ids of the menu, the accelerators, the toolbar and the main form's
// buttons; they are the resource numbers the device's owners know. The main
// view handles most of them; the main frame and the application the rest
// (bars, exit, About).

constexpr int CmdFileNew = 57600;
constexpr int CmdFileOpen = 57601;
constexpr int CmdFileSave = 57603;
constexpr int CmdFilePrintSetup = 57606;
constexpr int CmdAppAbout = 57664;
constexpr int CmdAppExit = 57665;
constexpr int CmdViewToolbar = 59392;    // also the toolbar's window id
constexpr int CmdViewStatusBar = 59393;  // also the status bar's window id
constexpr int CmdComPort = 32771;
constexpr int CmdGraphOptions = 32772;
constexpr int CmdShowChannel1 = 32798;
constexpr int CmdShowChannel2 = 32799;
constexpr int CmdShowChannel3 = 32800;
constexpr int CmdShowChannel4 = 32801;
// 32802 is not used: channel 5 follows at 32803.
constexpr int CmdShowChannel5 = 32803;
constexpr int CmdShowChannel6 = 32804;
constexpr int CmdDeviceSearch = 32805;
constexpr int CmdCopyChannel = 32806;
constexpr int CmdCopyPreset = 32807;
// Undo, backups and knowing what is on the device.
constexpr int CmdEditUndo = 32810;
constexpr int CmdEditRedo = 32811;
constexpr int CmdCompareDevice = 32812;
constexpr int CmdVerifyAfterSend = 32813;
constexpr int CmdLoadBackup = 32814;
// The plot's views (one of the three is checked), the sums L and R, and the
// export of what the plot shows.
constexpr int CmdViewMagnitude = 32840;
constexpr int CmdViewPhase = 32841;
constexpr int CmdViewGroupDelay = 32842;
constexpr int CmdShowSums = 32843;
constexpr int CmdExportPlotPng = 32844;
constexpr int CmdExportPlotSvg = 32845;
constexpr int CmdExportCurvesCsv = 32846;
// Working with other programs: filter texts in and out, channel names.
constexpr int CmdImportFilters = 32860;
constexpr int CmdExportFilterSettings = 32861;
constexpr int CmdNameChannel = 32862;
// Measurements drawn with the channels, and how.
constexpr int CmdLoadMeasurement = 32880;
constexpr int CmdRemoveMeasurement = 32881;
constexpr int CmdNormaliseMeasurements = 32882;
constexpr int CmdShowPrediction = 32883;
constexpr int CmdAddMeasurement = 32884;
constexpr int CmdSharedOffset = 32885;
constexpr int CmdAveragePower = 32886;  // 32886..32888: power, dB, vector
constexpr int CmdAverageVector = 32888;
constexpr int CmdSmoothNone = 32891;  // 32891..32895: none, 1/24, 1/12, 1/6, 1/3
constexpr int CmdSmoothThird = 32895;
// Tuning from measurements.
constexpr int CmdAutoFit = 32900;
constexpr int CmdAlignCrossover = 32901;

// Buttons of the main form (template 101): each button's control id is its
// command id.
constexpr int CmdSend = 1000;
constexpr int CmdReceive = 1001;
constexpr int CmdPreset1 = 1025;  // 1025..1028 select preset 0..3
constexpr int CmdPreset4 = 1028;

// The channel (0..5) a channel toggle command stands for, or -1.
constexpr int channelOfShowCommand(int id) {
    switch (id) {
        case CmdShowChannel1:
            return 0;
        case CmdShowChannel2:
            return 1;
        case CmdShowChannel3:
            return 2;
        case CmdShowChannel4:
            return 3;
        case CmdShowChannel5:
            return 4;
        case CmdShowChannel6:
            return 5;
        default:
            return -1;
    }
}
