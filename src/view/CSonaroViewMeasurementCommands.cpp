// The main view's measurement overlay: a measurement file loaded for the
// channel whose tab is selected, removed again, and the overlay's two
// options (normalised to 0 dB over 200 Hz..2 kHz, the predicted result).
// The files and options live in the side file, so each change is an undo
// step and is saved with the parameter file; the measurements themselves
// are read once and kept by the overlay.

#include <QAction>
#include <filesystem>

#include "platform/UserServices.h"
#include "platform/Utf8Path.h"
#include "ui/CChannelTabCtrl.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/FileDialogs.h"
#include "view/FileFailureTexts.h"
#include "view/FileNameOfPath.h"
#include "view/MeasurementOverlay.h"

namespace {

constexpr const char* MeasurementTitle = "Messung laden";

std::string fullPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(pathFromUtf8(path), error);
    return error ? path : utf8FromPath(full.lexically_normal());
}

}  // namespace

int CSonaroView::activeChannel() const {
    const int selected = m_pTabs ? m_pTabs->curSel() : 0;
    return selected >= 0 && selected < ChannelCount ? selected : 0;
}

void CSonaroView::resolveMeasurementPaths(const std::string& parameterFile) {
    for (std::string& path : m_session.side.measurements) {
        if (!path.empty()) path = measurementFilePath(parameterFile, path);
    }
    followMeasurements();
}

SideFile CSonaroView::storedSideFile(const std::string& parameterFile) const {
    SideFile stored = m_session.side;
    for (std::string& path : stored.measurements) {
        if (!path.empty()) path = storedMeasurementPath(parameterFile, path);
    }
    return stored;
}

void CSonaroView::followMeasurements() {
    for (const std::string& message : m_pOverlay->follow(m_session.side.measurements)) {
        userServices().messageBox(message, ErrorTitle, MessageIcon::Warning);
    }
    if (ParameterImage* image = this->image()) image->setRedrawPending(1);
}

void CSonaroView::addOverlayCurves(PlotContent& content) {
    m_pOverlay->addCurves(content, m_session.side.overlay, *m_pResponses);
}

void CSonaroView::onLoadMeasurement(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    const std::optional<std::string> path = askFile(FileDialogKind::Measurement);
    if (!path) {
        return;
    }
    // A file that cannot be read changes nothing: the channel keeps what it
    // showed.
    const MeasurementFileRead read = readMeasurementFile(*path);
    if (!read.measurement) {
        userServices().messageBox(read.message, ErrorTitle, MessageIcon::Stop);
        return;
    }
    ChangeScope change(*this);
    const int c = activeChannel();
    const std::string full = fullPath(*path);
    m_pOverlay->take(c, full, *read.measurement);
    m_session.side.measurements[static_cast<std::size_t>(c)] = full;
    image->setRedrawPending(1);
    change.record(QStringLiteral("Messung ") + QString::fromStdString(baseNameOfPath(full)) +
                  QStringLiteral(" laden"));
    if (!read.notice.empty()) {
        userServices().messageBox(read.notice, MeasurementTitle, MessageIcon::Information);
    }
}

void CSonaroView::onRemoveMeasurement(int) {
    if (!image()) {
        return;
    }
    ChangeScope change(*this);
    m_session.side.measurements[static_cast<std::size_t>(activeChannel())].clear();
    followMeasurements();
    change.record(QStringLiteral("Messung entfernen"));
}

void CSonaroView::onUpdateRemoveMeasurement(int, QAction& action) {
    action.setEnabled(
        image() != nullptr &&
        !m_session.side.measurements[static_cast<std::size_t>(activeChannel())].empty());
}

void CSonaroView::onOverlayOption(int id) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    ChangeScope change(*this);
    OverlayOptions& options = m_session.side.overlay;
    const bool normalise = id == CmdNormaliseMeasurements;
    bool& option = normalise ? options.normalise : options.predicted;
    option = !option;
    image->setRedrawPending(1);
    change.record(normalise ? QStringLiteral("Messung normalisieren")
                            : QStringLiteral("Vorhersage zeigen"));
}

void CSonaroView::onUpdateOverlayOption(int id, QAction& action) {
    action.setCheckable(true);
    action.setChecked(id == CmdNormaliseMeasurements ? m_session.side.overlay.normalise
                                                     : m_session.side.overlay.predicted);
}
