// The side file of the current parameter file (NAME.filtaro.json): what the
// 2784 bytes cannot hold. It is read with the file (Open, start-up), written
// with it (Save, program end) and reset by New; the session holds it
// meanwhile and undo steps keep it.

#include <filesystem>

#include "platform/UserServices.h"
#include "platform/Utf8Path.h"
#include "plotmodel/CurveCsv.h"
#include "ui/CChannelTabCtrl.h"
#include "view/CSonaroView.h"
#include "view/FileFailureTexts.h"
#include "view/FileNameOfPath.h"

QString CSonaroView::channelName(int channel) const {
    if (channel < 0 || channel >= ChannelCount) return {};
    return QString::fromStdString(m_session.side.channelNames[static_cast<std::size_t>(channel)]);
}

QString CSonaroView::channelDisplayName(int channel) const {
    return QString::fromStdString(channelCurveName(channel, channelName(channel).toStdString()));
}

void CSonaroView::loadSideFileOf(const std::string& parameterFile) {
    SideFileLoad load = loadSideFile(parameterFile);
    m_session.side = std::move(load.data);
    resolveMeasurementPaths(parameterFile);
    showChannelNames();
    if (load.state == SideFileState::Broken) {
        userServices().messageBox(load.message, ErrorTitle, MessageIcon::Warning);
    }
}

bool CSonaroView::saveSideFileOf(const std::string& parameterFile) {
    const std::string path = sideFilePath(parameterFile);
    std::error_code error;
    // A side file already there is brought up to date even when nothing is
    // left to keep, so that names taken away do not come back.
    if (!sideFileHasContent(m_session.side) &&
        !std::filesystem::exists(pathFromUtf8(path), error)) {
        return true;
    }
    if (saveSideFile(parameterFile, storedSideFile(parameterFile))) return true;
    userServices().messageBox("Die Zusatzdatei \"" + fileNameOfPath(path) +
                                  "\" konnte nicht gespeichert werden; Kanalnamen und Messungen "
                                  "sind dort nicht gesichert.",
                              ErrorTitle, MessageIcon::Stop);
    return false;
}

void CSonaroView::showChannelNames() {
    for (int c = 0; c < ChannelCount; ++c) {
        channelTabs()->setChannelName(c, channelName(c));
    }
}
