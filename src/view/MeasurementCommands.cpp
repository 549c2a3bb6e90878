// The measurement overlay: a measurement file loaded for the channel whose
// tab is selected, further ones added (listening positions), removed again,
// and the overlay's options (normalised to 0 dB over 200 Hz..2 kHz, each
// channel on its own or all by one offset; the predicted result; how several
// files are averaged and how finely smoothed). The files and options live in
// the side file, so each change is an undo step of the document and is saved
// with the parameter file.

#include <QAction>

#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/Commands.h"

void onLoadMeasurement(CSonaroView& view) {
    if (const std::optional<std::string> path = askFile(view, FileDialogKind::Measurement)) {
        view.document().loadMeasurement(activeChannel(view), *path);
    }
}

void onAddMeasurement(CSonaroView& view) {
    if (const std::optional<std::string> path = askFile(view, FileDialogKind::Measurement)) {
        view.document().loadMeasurement(activeChannel(view), *path, true);
    }
}

void onRemoveMeasurement(CSonaroView& view) {
    view.document().removeMeasurement(activeChannel(view));
}

void ruleRemoveMeasurement(CSonaroView& view, QAction& action) {
    action.setEnabled(
        !view.sideFile().measurements[static_cast<std::size_t>(activeChannel(view))].empty());
}

namespace {

Document::OverlayOption overlayOptionOf(int id) {
    return id == CmdNormaliseMeasurements ? Document::OverlayOption::Normalise
           : id == CmdSharedOffset        ? Document::OverlayOption::SharedOffset
                                          : Document::OverlayOption::Predicted;
}

}  // namespace

void onOverlayOption(CSonaroView& view, int id) {
    view.document().toggleOverlayOption(overlayOptionOf(id));
}

void ruleOverlayOption(CSonaroView& view, int id, QAction& action) {
    const OverlayOptions& options = view.sideFile().overlay;
    action.setCheckable(true);
    switch (overlayOptionOf(id)) {
        case Document::OverlayOption::Normalise:
            action.setChecked(options.normalise);
            break;
        case Document::OverlayOption::SharedOffset:
            action.setChecked(options.sharedOffset);
            action.setEnabled(options.normalise);
            break;
        case Document::OverlayOption::Predicted:
            action.setChecked(options.predicted);
            break;
    }
}

void onAveraging(CSonaroView& view, int id) {
    const auto averaging = static_cast<Averaging>(id - CmdAveragePower);
    if (averaging != view.sideFile().overlay.averaging) view.document().setAveraging(averaging);
}

void ruleAveraging(CSonaroView& view, int id, QAction& action) {
    action.setCheckable(true);
    action.setChecked(static_cast<Averaging>(id - CmdAveragePower) ==
                      view.sideFile().overlay.averaging);
}

void onSmoothing(CSonaroView& view, int id) {
    const int perOctave = SmoothingChoices[static_cast<std::size_t>(id - CmdSmoothNone)];
    if (perOctave != view.sideFile().overlay.smoothing) view.document().setSmoothing(perOctave);
}

void ruleSmoothing(CSonaroView& view, int id, QAction& action) {
    action.setCheckable(true);
    action.setChecked(SmoothingChoices[static_cast<std::size_t>(id - CmdSmoothNone)] ==
                      view.sideFile().overlay.smoothing);
}
