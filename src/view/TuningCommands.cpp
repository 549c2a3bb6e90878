// Tuning from measurements: "Automatisch anpassen" fits the equaliser of the
// channel shown to a target from the channel's measurements. The dialog shows
// its target and predicted result in the plot while it is open; what it
// fits is taken over as one step of the document.

#include <QAction>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "document/FileNameOfPath.h"
#include "forms/ModalRunner.h"
#include "platform/UserServices.h"
#include "plot/CResponsePlot.h"
#include "ui/FitDialog.h"
#include "view/CSonaroView.h"
#include "view/Commands.h"

namespace {

constexpr const char* FitTitle = "Automatisch anpassen";

// The channel's readable measurements, and how many are named.
std::vector<MeasurementFile> readableFiles(CSonaroView& view, int channel) {
    std::vector<MeasurementFile> files = view.document().overlay().files(channel);
    std::erase_if(files, [](const MeasurementFile& f) { return f.data == nullptr; });
    return files;
}

std::optional<TargetFile> askTargetFile(CSonaroView& view) {
    const std::optional<std::string> path = askFile(view, FileDialogKind::Measurement);
    if (!path) return std::nullopt;
    MeasurementFileRead read = readMeasurementFile(*path);
    if (!read.measurement) {
        userServices().messageBox(read.message, FitTitle, MessageIcon::Stop);
        return std::nullopt;
    }
    return TargetFile{baseNameOfPath(*path), std::move(*read.measurement)};
}

// The dialog shows its curves in the plot: it stands right of the plot where
// the screen has room, else as far right as it can.
void placeBesidePlot(const CSonaroView& view, QWidget& dialog) {
    constexpr int Gap = 8;
    constexpr int FrameAllowance = 16;  // the window manager's frame
    const QRect screen = view.screen()->availableGeometry();
    const QPoint plotTopRight = view.plot()->mapToGlobal(QPoint(view.plot()->width(), 0));
    const int x = std::max(
        screen.left(),
        std::min(plotTopRight.x() + Gap, screen.right() - dialog.width() - FrameAllowance));
    const int y = std::max(screen.top(), view.window()->geometry().top());
    dialog.move(x, y);
}

}  // namespace

void onAutoFit(CSonaroView& view) {
    Document& document = view.document();
    const int channel = activeChannel(view);
    const int preset = document.image().activePreset();
    const std::vector<MeasurementFile> files = readableFiles(view, channel);
    if (files.empty()) {
        userServices().messageBox("Für " + channelDisplayName(view, channel).toStdString() +
                                      " ist keine Messung geladen. Bitte erst mit \"Ansicht → "
                                      "Messung laden...\" eine Messung des Lautsprechers laden.",
                                  FitTitle, MessageIcon::Information);
        return;
    }
    const OverlayOptions& overlay = document.side().overlay;
    FitDialogInput input;
    input.channel = channel;
    input.target =
        channelDisplayName(view, channel) + QStringLiteral(", Preset %1").arg(preset + 1);
    input.record = document.image().record(preset, channel);
    auto measurements = std::make_shared<std::vector<Measurement>>();
    for (const MeasurementFile& f : files) {
        input.names.push_back(baseNameOfPath(f.path));
        measurements->push_back(*f.data);
    }
    input.measurements = std::move(measurements);
    input.averaging = overlay.averaging;
    input.smoothing = overlay.smoothing;
    input.normalise = overlay.normalise;
    if (overlay.normalise && overlay.sharedOffset) {
        input.sharedOffsetDb = document.overlay().offsetDb(channel, overlay);
    }
    input.askTargetFile = [&view] { return askTargetFile(view); };

    FitDialog dialog(std::move(input), view.window());
    placeBesidePlot(view, dialog);
    QObject::connect(&dialog, &FitDialog::previewChanged, &view,
                     [&view, &dialog] { view.setPlotPreview(dialog.preview()); });
    view.setPlotPreview(dialog.preview());
    const int answer = runModal(dialog);
    view.setPlotPreview({});
    if (answer != QDialog::Accepted || dialog.fitResult().status != FitStatus::Ok) return;
    document.applyFit(preset, channel, dialog.fitted(), dialog.averaging(), dialog.smoothing());
}

void ruleAutoFit(CSonaroView& view, QAction& action) {
    action.setEnabled(!readableFiles(view, activeChannel(view)).empty());
}
