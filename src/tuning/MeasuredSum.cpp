#include "tuning/MeasuredSum.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "response/ResponseGrid.h"

std::pair<int, int> gridSpan(double loHz, double hiHz) {
    int first = 0;
    while (first < ResponsePointCount && !(responseGridFrequency(first) >= loHz)) ++first;
    int end = first;
    while (end < ResponsePointCount && responseGridFrequency(end) <= hiHz) ++end;
    return {first, end};
}

std::complex<double> channelValue(const ResponseCurves& channel, int j) {
    return std::polar(std::pow(10.0, channel.db[j] / 20.0),
                      channel.phaseDegrees[j] * (std::numbers::pi / 180.0));
}

MeasuredCurve predictedChannel(const MeasuredPhase& measured, const ResponseCurves& channel,
                               double offsetDb) {
    MeasuredCurve out;
    const auto [first, end] = gridSpan(measured.loHz(), measured.hiHz());
    out.first = first;
    const double gain = std::pow(10.0, offsetDb / 20.0);
    for (int j = first; j < end; ++j) {
        out.values.push_back(gain * measured.valueAt(responseGridFrequency(j)) *
                             channelValue(channel, j));
    }
    return out;
}

MeasuredSums measuredSums(const std::array<ChannelRecord, ChannelCount>& records,
                          const ComplexResponses& responses,
                          const std::array<const Measurement*, ChannelCount>& measurements,
                          double offsetDb) {
    std::array<std::optional<MeasuredPhase>, ChannelCount> prepared;
    std::array<const MeasuredPhase*, ChannelCount> measured{};
    for (int c = 0; c < ChannelCount; ++c) {
        const Measurement* m = measurements[c];
        if (m != nullptr && m->frequencies.size() >= 2 && m->db.size() == m->frequencies.size() &&
            hasPhase(*m)) {
            measured[c] = &prepared[c].emplace(*m);
        }
    }
    return measuredSums(records, responses, measured, offsetDb);
}

MeasuredSums measuredSums(const std::array<ChannelRecord, ChannelCount>& records,
                          const ComplexResponses& responses,
                          const std::array<const MeasuredPhase*, ChannelCount>& measured,
                          double offsetDb) {
    MeasuredSums out;
    std::array<MeasuredCurve, ChannelCount> predictions;
    std::array<bool, ChannelCount> usable{};
    for (int c = 0; c < ChannelCount; ++c) {
        usable[c] = measured[c] != nullptr;
        if (usable[c])
            predictions[c] = predictedChannel(*measured[c], responses.channels[c], offsetDb);
    }
    for (int s = 0; s < SumCount; ++s) {
        int first = 0;
        int end = ResponsePointCount;
        for (int c = 0; c < ChannelCount; ++c) {
            if (!inputFeedsSide(records[c].input, s)) continue;
            if (!usable[c]) {
                out.missing[s].push_back(c);
                continue;
            }
            out.channels[s].push_back(c);
            first = std::max(first, predictions[c].first);
            end = std::min(end,
                           predictions[c].first + static_cast<int>(predictions[c].values.size()));
        }
        if (out.channels[s].empty() || end <= first) continue;
        MeasuredCurve& sum = out.sums[s];
        sum.first = first;
        sum.values.assign(end - first, {0.0, 0.0});
        for (int c : out.channels[s]) {
            for (int j = first; j < end; ++j)
                sum.values[j - first] += predictions[c].values[j - predictions[c].first];
        }
    }
    return out;
}

MeasuredQuantities quantitiesOf(const MeasuredCurve& curve) {
    MeasuredQuantities out;
    out.first = curve.first;
    const std::size_t n = curve.values.size();
    out.db.resize(n);
    out.phaseDegrees.resize(n);
    out.groupDelayMs.assign(n, 0.0);
    std::vector<double> hz(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double magnitude = std::abs(curve.values[k]);
        const bool audible = magnitude > 0.0 && std::isfinite(magnitude);
        out.db[k] = audible ? 20.0 * std::log10(magnitude) : double{SilenceDb};
        out.phaseDegrees[k] =
            audible ? std::arg(curve.values[k]) * (180.0 / std::numbers::pi) : 0.0;
        hz[k] = responseGridFrequency(curve.first + static_cast<int>(k));
    }
    const std::vector<double> phase = unwrappedPhaseDegrees(hz, out.phaseDegrees);
    // -dphi/domega between neighbours (degrees per Hz over 360 gives seconds),
    // each point taking the mean of the steps on its two sides.
    std::vector<double> step(n, 0.0);
    for (std::size_t k = 1; k < n; ++k) {
        step[k] = -(phase[k] - phase[k - 1]) / (hz[k] - hz[k - 1]) / 360.0 * 1000.0;
    }
    for (std::size_t k = 0; k < n && n >= 2; ++k) {
        const double before = k > 0 ? step[k] : step[k + 1];
        const double after = k + 1 < n ? step[k + 1] : step[k];
        out.groupDelayMs[k] = (before + after) / 2.0;
    }
    return out;
}
