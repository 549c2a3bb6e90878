// Tuning from measurements: "Automatisch anpassen" fits the equaliser of the
// channel shown to a target from the channel's measurements; "Übergang
// ausrichten" sets the delay, level and crossover of the channels that meet
// at a crossover from their drivers' measurements. Each dialog shows its
// curves in the plot while it is open; what it chooses is taken over as one
// step of the document.

#include <QAction>
#include <QScreen>
#include <algorithm>
#include <memory>

#include "document/FileNameOfPath.h"
#include "forms/ModalRunner.h"
#include "platform/UserServices.h"
#include "plot/CResponsePlot.h"
#include "tuning/Evidence.h"
#include "ui/AlignDialog.h"
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

// Each channel's driver for the alignment: its first readable file. Several
// files of a channel are listening positions; the phase of a driver against
// another means something only at one position, the first one's.
std::array<const Measurement*, ChannelCount> alignMeasurements(CSonaroView& view) {
    std::array<const Measurement*, ChannelCount> out{};
    for (int c = 0; c < ChannelCount; ++c) {
        const std::vector<MeasurementFile> files = readableFiles(view, c);
        if (!files.empty()) out[static_cast<std::size_t>(c)] = files.front().data;
    }
    return out;
}

// The channels chosen at first: those with a measurement on the shown
// channel's input side (or else on the first side that has two), at most
// three.
std::vector<int> firstAlignChannels(const std::array<ChannelRecord, ChannelCount>& records,
                                    const std::array<const Measurement*, ChannelCount>& measured,
                                    int shown) {
    const auto onSide = [&](int input) {
        std::vector<int> out;
        for (int c = 0; c < ChannelCount && out.size() < 3; ++c) {
            if (measured[static_cast<std::size_t>(c)] &&
                records[static_cast<std::size_t>(c)].input == input) {
                out.push_back(c);
            }
        }
        return out;
    };
    std::vector<int> channels = onSide(records[static_cast<std::size_t>(shown)].input);
    for (int input = 0; input < 3 && channels.size() < 2; ++input) channels = onSide(input);
    return channels.size() >= 2 ? channels : std::vector<int>{};
}

// What the alignment starts from: the active preset's channels, their names
// and drivers, the channels chosen at first, the overlay's scale.
AlignDialogInput alignDialogInput(CSonaroView& view) {
    const Document& document = view.document();
    const int preset = document.image().activePreset();
    const std::array<const Measurement*, ChannelCount> measured = alignMeasurements(view);
    AlignDialogInput input;
    input.preset = QStringLiteral("Preset %1").arg(preset + 1);
    auto measurements = std::make_shared<std::array<Measurement, ChannelCount>>();
    std::vector<const Measurement*> all;
    for (int c = 0; c < ChannelCount; ++c) {
        const auto k = static_cast<std::size_t>(c);
        input.records[k] = document.image().record(preset, c);
        input.names[k] = channelDisplayName(view, c);
        if (measured[k]) {
            (*measurements)[k] = *measured[k];
            all.push_back(measured[k]);
        }
    }
    input.channels = firstAlignChannels(input.records, measured, activeChannel(view));
    input.measurements = std::move(measurements);
    // The sums on the overlay's scale: one offset for all drivers, since
    // their level ratio is what the alignment is about.
    if (document.side().overlay.normalise) input.offsetDb = sharedNormalisationOffset(all);
    input.askTargetFile = [&view] { return askTargetFile(view); };
    return input;
}

// Runs a dialog that shows its curves in the plot while it is open (its
// previewChanged() and preview()), beside the plot; the plot is as before
// once it closes.
template <class Dialog>
int runBesidePlot(CSonaroView& view, Dialog& dialog) {
    placeBesidePlot(view, dialog);
    QObject::connect(&dialog, &Dialog::previewChanged, &view,
                     [&view, &dialog] { view.setPlotPreview(dialog.preview()); });
    view.setPlotPreview(dialog.preview());
    const int answer = runModal(dialog);
    view.setPlotPreview({});
    return answer;
}

int measuredChannelCount(CSonaroView& view) {
    const auto measured = alignMeasurements(view);
    return static_cast<int>(std::count_if(measured.begin(), measured.end(),
                                          [](const Measurement* m) { return m != nullptr; }));
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
    if (runBesidePlot(view, dialog) != QDialog::Accepted ||
        dialog.fitResult().status != FitStatus::Ok)
        return;
    document.applyFit(preset, channel, dialog.fitted(), dialog.averaging(), dialog.smoothing());
}

void ruleAutoFit(CSonaroView& view, QAction& action) {
    action.setEnabled(!readableFiles(view, activeChannel(view)).empty());
}

void onAlignCrossover(CSonaroView& view) {
    const int preset = view.document().image().activePreset();
    AlignDialog dialog(alignDialogInput(view), view.window());
    if (runBesidePlot(view, dialog) != QDialog::Accepted || !dialog.chosen()) return;
    const std::vector<ChannelRecord> chosen = *dialog.chosen();
    const std::vector<int> channels = dialog.channels();
    view.document().apply(AlignDialogTitle, [&](ParameterImage& settings) {
        for (std::size_t k = 0; k < channels.size() && k < chosen.size(); ++k) {
            settings.setRecord(preset, channels[k], chosen[k]);
        }
    });
}

void ruleAlignCrossover(CSonaroView& view, QAction& action) {
    action.setEnabled(measuredChannelCount(view) >= 2);
}
