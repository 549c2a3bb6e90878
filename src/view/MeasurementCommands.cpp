// The measurement overlay: a measurement file loaded for the channel whose
// tab is selected, removed again, and the overlay's two options (normalised
// to 0 dB over 200 Hz..2 kHz, the predicted result). The files and options
// live in the side file, so each change is an undo step of the document and
// is saved with the parameter file.

#include <QAction>

#include "view/CSonaroView.h"
#include "view/CommandIds.h"
#include "view/Commands.h"

void onLoadMeasurement(CSonaroView& view) {
    if (const std::optional<std::string> path = askFile(view, FileDialogKind::Measurement)) {
        view.document().loadMeasurement(activeChannel(view), *path);
    }
}

void onRemoveMeasurement(CSonaroView& view) {
    view.document().removeMeasurement(activeChannel(view));
}

void ruleRemoveMeasurement(CSonaroView& view, QAction& action) {
    action.setEnabled(
        !view.sideFile().measurements[static_cast<std::size_t>(activeChannel(view))].empty());
}

void onOverlayOption(CSonaroView& view, int id) {
    view.document().toggleOverlayOption(id == CmdNormaliseMeasurements
                                            ? Document::OverlayOption::Normalise
                                            : Document::OverlayOption::Predicted);
}

void ruleOverlayOption(CSonaroView& view, int id, QAction& action) {
    const OverlayOptions& options = view.sideFile().overlay;
    action.setCheckable(true);
    action.setChecked(id == CmdNormaliseMeasurements ? options.normalise : options.predicted);
}
