#include "document/MeasurementOverlay.h"

#include <algorithm>
#include <cmath>

#include "document/FileNameOfPath.h"
#include "plotmodel/MeasurementReduce.h"
#include "storage/FileMessages.h"
#include "storage/TextFile.h"
#include "tuning/Evidence.h"
#include "tuning/MeasuredSum.h"

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

std::vector<MeasurementFile> MeasurementOverlay::files(int c) const {
    std::vector<MeasurementFile> out;
    for (const File& file : m_channels[static_cast<std::size_t>(c)].files) {
        out.push_back({file.path, file.data ? &*file.data : nullptr});
    }
    return out;
}

void MeasurementOverlay::take(const std::string& path, const Measurement& full) {
    m_taken[path] = full;
}

void MeasurementOverlay::preparePhase(Channel& channel) {
    channel.phaseCurve = {};
    channel.wrappedPhase.clear();
    channel.measuredPhase.reset();
    for (const File& file : channel.files) {
        if (!file.data) continue;
        if (!file.data->phaseDegrees.empty()) {
            channel.phaseCurve = reducedMeasurement(*file.data);
            for (double degrees : channel.phaseCurve.phaseDegrees) {
                channel.wrappedPhase.push_back(wrappedDegrees(degrees));
            }
        }
        if (file.data->frequencies.size() >= 2 && hasPhase(*file.data)) {
            channel.measuredPhase.emplace(*file.data);
        }
        return;
    }
}

std::vector<std::string> MeasurementOverlay::follow(
    const std::array<MeasurementList, ChannelCount>& paths) {
    std::vector<std::string> messages;
    for (int c = 0; c < ChannelCount; ++c) {
        const MeasurementList& wanted = paths[static_cast<std::size_t>(c)];
        Channel& channel = m_channels[static_cast<std::size_t>(c)];
        const bool same =
            wanted.size() == channel.files.size() &&
            std::equal(wanted.begin(), wanted.end(), channel.files.begin(),
                       [](const std::string& p, const File& f) { return p == f.path; });
        if (same) continue;
        m_shared.valid = false;
        std::vector<File> next;
        for (const std::string& path : wanted) {
            const auto kept = std::find_if(channel.files.begin(), channel.files.end(),
                                           [&](const File& f) { return f.path == path; });
            if (kept != channel.files.end()) {
                next.push_back(std::move(*kept));
                kept->path.clear();  // taken; a second entry of the same path reads again
                continue;
            }
            File& file = next.emplace_back();
            file.path = path;
            if (const auto taken = m_taken.find(path); taken != m_taken.end()) {
                file.data = std::move(taken->second);
                m_taken.erase(taken);
                continue;
            }
            MeasurementFileRead read = readMeasurementFile(path);
            if (read.measurement) {
                file.data = std::move(read.measurement);
            } else {
                messages.push_back(read.message);
            }
        }
        channel = Channel{};
        channel.files = std::move(next);
        preparePhase(channel);
    }
    m_taken.clear();
    return messages;
}

const Measurement* MeasurementOverlay::combined(int c, const OverlayOptions& options) {
    Channel& channel = m_channels[static_cast<std::size_t>(c)];
    if (channel.combinedValid && channel.averaging == options.averaging &&
        channel.smoothing == options.smoothing) {
        return channel.combined ? &*channel.combined : nullptr;
    }
    channel.combinedValid = true;
    channel.averaging = options.averaging;
    channel.smoothing = options.smoothing;
    channel.combined.reset();
    channel.midrangeDb.reset();
    channel.drawn = {};
    std::vector<Measurement> read;
    bool allPhase = true;
    for (const File& file : channel.files) {
        if (!file.data) continue;
        read.push_back(*file.data);
        allPhase = allPhase && file.data->phaseDegrees.size() == file.data->frequencies.size();
    }
    if (read.empty()) return nullptr;
    const Averaging averaging =
        options.averaging == Averaging::Vector && !allPhase ? Averaging::Power : options.averaging;
    EvidenceCurve evidence = combineMeasurements(read, averaging, options.smoothing);
    if (!evidence.ok) return nullptr;  // no span all files share
    channel.combined = std::move(evidence.curve);
    double average = 0;
    if (midrangeAverageDb(*channel.combined, average)) channel.midrangeDb = average;
    channel.drawn = reducedMeasurement(*channel.combined);
    return &*channel.combined;
}

double MeasurementOverlay::sharedOffsetDb(const OverlayOptions& options) {
    if (!m_shared.valid || m_shared.averaging != options.averaging ||
        m_shared.smoothing != options.smoothing) {
        std::vector<const Measurement*> all;
        for (int k = 0; k < ChannelCount; ++k) all.push_back(combined(k, options));
        m_shared = {true, options.averaging, options.smoothing, sharedNormalisationOffset(all)};
    }
    return m_shared.db;
}

double MeasurementOverlay::offsetDb(int c, const OverlayOptions& options) {
    if (!options.normalise || !combined(c, options)) return 0.0;
    if (options.sharedOffset) return sharedOffsetDb(options);
    const std::optional<double>& midrange = m_channels[static_cast<std::size_t>(c)].midrangeDb;
    return midrange ? -*midrange : 0.0;
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
        Channel& channel = m_channels[static_cast<std::size_t>(c)];
        if (content.quantity == ResponseQuantity::Phase) {
            if (!channel.wrappedPhase.empty()) {
                content.overlays.push_back({c, CurveStroke::Dotted, &channel.phaseCurve.frequencies,
                                            &channel.wrappedPhase, 0.0});
            }
            continue;
        }
        if (!combined(c, options)) continue;
        const Measurement& m = channel.drawn;
        const double offset = offsetDb(c, options);
        content.overlays.push_back({c, CurveStroke::Dotted, &m.frequencies, &m.db, offset});
        if (options.predicted) {
            channel.predicted = predictedDb(m, magnitudes[static_cast<std::size_t>(c)], offset);
            content.overlays.push_back(
                {c, CurveStroke::Dashed, &m.frequencies, &channel.predicted, 0.0});
        }
    }
}

MeasuredSumCurves MeasurementOverlay::measuredSumCurves(const ParameterImage& image, int preset,
                                                        const ComplexResponses& responses,
                                                        const OverlayOptions& options) {
    std::array<ChannelRecord, ChannelCount> records;
    std::array<const MeasuredPhase*, ChannelCount> measured{};
    for (int c = 0; c < ChannelCount; ++c) {
        const auto i = static_cast<std::size_t>(c);
        records[i] = image.record(preset, c);
        if (m_channels[i].measuredPhase) measured[i] = &*m_channels[i].measuredPhase;
    }
    const double offset = options.normalise ? sharedOffsetDb(options) : 0.0;
    const MeasuredSums sums = measuredSums(records, responses, measured, offset);
    MeasuredSumCurves out;
    for (int s = 0; s < SumCount; ++s) {
        const auto i = static_cast<std::size_t>(s);
        MeasuredSumCurve& curve = out[i];
        curve.channels = sums.channels[i];
        curve.leftOut = sums.missing[i];
        curve.name = measuredSumName(s, curve.leftOut);
        MeasuredQuantities q = quantitiesOf(sums.sums[i]);
        curve.first = q.first;
        for (std::size_t k = 0; k < q.db.size(); ++k) {
            curve.hz.push_back(responseGridFrequency(q.first + static_cast<int>(k)));
        }
        curve.db = std::move(q.db);
        curve.phaseDegrees = std::move(q.phaseDegrees);
    }
    return out;
}
