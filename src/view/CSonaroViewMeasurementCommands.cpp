// The main view's measurement overlay: a measurement file loaded for the
// channel whose tab is selected, removed again, and the overlay's two
// options (normalised to 0 dB over 200 Hz..2 kHz, the predicted result).
// The files and options are what the side file keeps beside the parameter
// file; the measurements themselves are read once and kept by the overlay.

#include <QAction>
#include <filesystem>

#include "platform/UserServices.h"
#include "platform/Utf8Path.h"
#include "ui/CChannelTabCtrl.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/FileDialogs.h"
#include "view/MeasurementOverlay.h"

namespace {

constexpr const char* ErrorTitle = "Fehler";

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

std::array<std::string, ChannelCount>& CSonaroView::measurementPaths() {
    return m_overlayChoice.measurements;
}

OverlayOptions& CSonaroView::overlayOptions() {
    return m_overlayChoice.overlay;
}

void CSonaroView::readOverlayFromSideFile(const SideFile& side, const std::string& parameterFile) {
    for (int c = 0; c < ChannelCount; ++c) {
        const std::string& stored = side.measurements[static_cast<std::size_t>(c)];
        measurementPaths()[static_cast<std::size_t>(c)] =
            stored.empty() ? std::string() : measurementFilePath(parameterFile, stored);
    }
    overlayOptions() = side.overlay;
    followMeasurements();
}

void CSonaroView::writeOverlayToSideFile(SideFile& side, const std::string& parameterFile) {
    for (int c = 0; c < ChannelCount; ++c) {
        const std::string& path = measurementPaths()[static_cast<std::size_t>(c)];
        side.measurements[static_cast<std::size_t>(c)] =
            path.empty() ? std::string() : storedMeasurementPath(parameterFile, path);
    }
    side.overlay = overlayOptions();
}

void CSonaroView::followMeasurements() {
    for (const std::string& message : m_pOverlay->follow(measurementPaths())) {
        userServices().messageBox(message, ErrorTitle, MessageIcon::Warning);
    }
    if (ParameterImage* image = this->image()) image->setRedrawPending(1);
}

void CSonaroView::addOverlayCurves(PlotContent& content) {
    m_pOverlay->addCurves(content, overlayOptions(), *m_pResponses);
}

void CSonaroView::onLoadMeasurement(int) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    const std::optional<std::string> path = askFilePath(FileDialogKind::Measurement, window());
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
    const int c = activeChannel();
    const std::string full = fullPath(*path);
    m_pOverlay->take(c, full, *read.measurement);
    measurementPaths()[static_cast<std::size_t>(c)] = full;
    image->setRedrawPending(1);
    emit commandStatesChanged();
}

void CSonaroView::onRemoveMeasurement(int) {
    if (!image()) {
        return;
    }
    measurementPaths()[static_cast<std::size_t>(activeChannel())].clear();
    followMeasurements();
    emit commandStatesChanged();
}

void CSonaroView::onUpdateRemoveMeasurement(int, QAction& action) {
    action.setEnabled(image() != nullptr &&
                      !measurementPaths()[static_cast<std::size_t>(activeChannel())].empty());
}

void CSonaroView::onOverlayOption(int id) {
    ParameterImage* image = this->image();
    if (!image) {
        return;
    }
    bool& option =
        id == CmdNormaliseMeasurements ? overlayOptions().normalise : overlayOptions().predicted;
    option = !option;
    image->setRedrawPending(1);
}

void CSonaroView::onUpdateOverlayOption(int id, QAction& action) {
    action.setCheckable(true);
    action.setChecked(id == CmdNormaliseMeasurements ? overlayOptions().normalise
                                                     : overlayOptions().predicted);
}
