#include "view/CSonaroView.h"
#include "view/CommandIds.h"

// The view's command map: one line per command or id range. Each handler
// lives in a CSonaroView*Commands.cpp file of its own group.
const std::vector<CSonaroView::CommandEntry>& CSonaroView::commandTable() {
    static const std::vector<CommandEntry> table = {
        {CmdFileNew, CmdFileNew, &CSonaroView::OnFileNew, nullptr},
        {CmdFileOpen, CmdFileOpen, &CSonaroView::OnFileOpen, nullptr},
        {CmdFileSave, CmdFileSave, &CSonaroView::OnFileSave, nullptr},
        {CmdSend, CmdSend, &CSonaroView::OnSend, nullptr},
        {CmdReceive, CmdReceive, &CSonaroView::OnReceive, nullptr},
        {CmdComPort, CmdComPort, &CSonaroView::OnComPort, nullptr},
        {CmdPreset1, CmdPreset4, &CSonaroView::OnPreset, nullptr},
        // 32802 lies between channel 4 and 5 and is no command.
        {CmdShowChannel1, CmdShowChannel4, &CSonaroView::OnShowChannel,
         &CSonaroView::OnUpdateShowChannel},
        {CmdShowChannel5, CmdShowChannel6, &CSonaroView::OnShowChannel,
         &CSonaroView::OnUpdateShowChannel},
        {CmdDeviceSearch, CmdDeviceSearch, &CSonaroView::OnDeviceSearch, nullptr},
        {CmdCopyChannel, CmdCopyChannel, &CSonaroView::OnCopyChannel, nullptr},
        {CmdCopyPreset, CmdCopyPreset, &CSonaroView::OnCopyPreset, nullptr},
    };
    return table;
}
