#include "document/MeasurementOverlay.h"

#include <cmath>

#include "document/FileNameOfPath.h"
#include "plotmodel/MeasurementReduce.h"
#include "storage/FileMessages.h"
#include "storage/TextFile.h"

namespace {

double wrappedDegrees(double degrees) {
    const double wrapped = std::remainder(degrees, 360.0);  // -180..180
    return wrapped == -180.0 ? 180.0 : wrapped;
}

}  // namespace

MeasurementFileRead readMeasurementFile(const std::string& path) {
    MeasurementFileRead result;
    const std::string named = "Die Messung \"" + baseNameOfPath(path) + "\" ";
    const std::optional<std::string> text = readTextFile(path, MeasurementFileLimit);
    if (!text) {
        result.message = named + "konnte nicht geöffnet werden (" +
                         fileOpenProblem(path, 0, MeasurementFileLimit) + ").";
        return result;
    }
    MeasurementRead read = parseMeasurement(*text);
    if (!read.ok) {
        result.message = named + "konnte nicht gelesen werden.\n" + read.message();
        return result;
    }
    result.measurement = std::move(read.measurement);
    if (!read.notice.empty()) result.notice = named + "ist gelesen. " + read.notice;
    return result;
}

const Measurement* MeasurementOverlay::measurement(int c) const {
    const Loaded& loaded = m_channels[static_cast<std::size_t>(c)];
    return loaded.data ? &*loaded.data : nullptr;
}

void MeasurementOverlay::take(int c, const std::string& path, const Measurement& full) {
    Loaded& loaded = m_channels[static_cast<std::size_t>(c)];
    loaded = Loaded{};
    loaded.path = path;
    Measurement& data = loaded.data.emplace(reducedMeasurement(full));
    // The average of the whole file, not of the thinned points.
    double average = 0;
    if (midrangeAverageDb(full, average)) loaded.midrangeDb = average;
    for (double degrees : data.phaseDegrees) loaded.wrappedPhase.push_back(wrappedDegrees(degrees));
}

std::vector<std::string> MeasurementOverlay::follow(
    const std::array<std::string, ChannelCount>& paths) {
    std::vector<std::string> messages;
    for (int c = 0; c < ChannelCount; ++c) {
        const std::string& path = paths[static_cast<std::size_t>(c)];
        Loaded& loaded = m_channels[static_cast<std::size_t>(c)];
        if (path == loaded.path) continue;
        loaded = Loaded{};
        loaded.path = path;
        if (path.empty()) continue;
        MeasurementFileRead read = readMeasurementFile(path);
        if (read.measurement) {
            take(c, path, *read.measurement);
        } else {
            messages.push_back(read.message);
        }
    }
    return messages;
}

void MeasurementOverlay::addCurves(PlotContent& content, const OverlayOptions& options,
                                   const ChannelResponses& magnitudes) {
    if (content.quantity == ResponseQuantity::GroupDelay) return;
    // The channels the plot shows are the channel curves of its content.
    std::vector<int> shown;
    for (const ShownCurve& curve : content.curves) {
        if (curve.id >= 0 && curve.id < ChannelCount) shown.push_back(curve.id);
    }
    for (int c : shown) {
        Loaded& loaded = m_channels[static_cast<std::size_t>(c)];
        if (!loaded.data) continue;
        const Measurement& m = *loaded.data;
        if (content.quantity == ResponseQuantity::Phase) {
            if (!loaded.wrappedPhase.empty()) {
                content.overlays.push_back(
                    {c, CurveStroke::Dotted, &m.frequencies, &loaded.wrappedPhase, 0.0});
            }
            continue;
        }
        const double offset = options.normalise && loaded.midrangeDb ? -*loaded.midrangeDb : 0.0;
        content.overlays.push_back({c, CurveStroke::Dotted, &m.frequencies, &m.db, offset});
        if (options.predicted) {
            loaded.predicted = predictedDb(m, magnitudes[static_cast<std::size_t>(c)], offset);
            content.overlays.push_back(
                {c, CurveStroke::Dashed, &m.frequencies, &loaded.predicted, 0.0});
        }
    }
}
