// The equaliser fit on any measurement, target, channel and options.
// Input: a header byte (bit 0: the full fit instead of the preview; bit 1:
// a fixed target level; bit 2: a range; bits 3-4: the target's shape; bit
// 5: the target follows the crossover; bit 6: shelves; bit 7: dips filled),
// the options (keep bits, boost, total boost, Q, level), the 26 fields of
// the channel, then the points of the measurement (count, first frequency,
// then level and frequency step) and of a target curve.
//
// A fit is refused with a reason and changes nothing, or it gives finite
// figures and curves, keeps the bands it must keep, sets every other band
// on the device's grid within the options (or leaves it as it was), keeps
// the level within the panel's range, and is no worse than the channel as
// it was.

#include <cmath>

#include "FuzzChannel.h"
#include "FuzzSupport.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "tuning/EqFit.h"

namespace {

// Full fits take a while; their measurements stay short.
constexpr std::size_t FullFitPoints = 96;
constexpr std::size_t PreviewPoints = 1200;

double level(FuzzInput& in) {
    // Mostly a loudspeaker's range, now and then anything finite.
    const auto raw = in.take<std::int16_t>();
    if (raw == std::numeric_limits<std::int16_t>::min()) {
        const double v = in.take<double>();
        return std::isfinite(v) ? v : 0.0;
    }
    return 80.0 + raw / 256.0;
}

// A point count, then rising frequencies from 5 Hz on, each step one byte's
// worth of a factor.
Measurement curveOf(FuzzInput& in, std::size_t most) {
    Measurement m;
    const std::size_t count = in.take<std::uint16_t>() % (most + 1);
    double f = 5.0 + in.take<std::uint8_t>();
    while (!in.empty() && m.frequencies.size() < count && f < 1e6) {
        m.frequencies.push_back(f);
        m.db.push_back(level(in));
        f *= 1.0 + (1 + in.take<std::uint8_t>()) / 512.0;
    }
    return m;
}

bool finite(const std::vector<double>& v) {
    for (double x : v) {
        if (!std::isfinite(x)) return false;
    }
    return true;
}

bool onGrid(const EqBand& b, int e, const FitOptions& o) {
    const int code = frequencyToCode(b.frequency);
    if (code < 0 || codeToFrequency(code) != b.frequency) return false;
    if (b.level < ParameterLimits::eqGain.lo || b.level > o.maxBoostDb) return false;
    if (b.q >= 1 && b.q <= 20) return b.level == 0 || b.q <= 2.0 * o.maxQ + 1e-9;
    return (e == 4 || e == 5) && b.q <= EqQCodeLast &&
           (b.level == 0 || o.shelves == ShelfUse::IfHelpful);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto header = in.take<std::uint8_t>();
    FitInput input;
    FitOptions& o = input.options;
    o.effort = (header & 1) != 0 ? FitEffort::Full : FitEffort::Preview;
    const auto keep = in.take<std::uint8_t>();
    for (int e = 0; e < EqBandCount; ++e) o.keep[e] = (keep >> e & 1) != 0;
    o.useLevel = (keep & 0x40) == 0;
    o.maxBoostDb = in.take<std::uint8_t>() % 8;  // 7: refused
    o.maxTotalBoostDb = in.take<std::uint8_t>() / 10.0;
    o.maxQ = 0.25 + in.take<std::uint8_t>() / 20.0;  // below 0.5 and above 10: refused
    o.shelves = (header & 0x40) != 0 ? ShelfUse::IfHelpful : ShelfUse::Never;
    o.dips = (header & 0x80) != 0 ? DipHandling::Fill : DipHandling::LeaveAlone;
    if ((header & 4) != 0) {
        const double lo = in.take<std::uint16_t>();
        o.range = FrequencyRange{lo, lo + in.take<std::uint16_t>()};
    }
    FitTarget& t = input.target;
    t.shape = static_cast<TargetShape>(header >> 3 & 3);
    t.followsCrossover = (header & 0x20) != 0;
    t.tiltDbPerOctave = in.take<std::int8_t>() / 16.0;
    t.house = {20.0 + in.take<std::uint16_t>() / 4.0, in.take<std::int8_t>() / 4.0,
               20.0 + in.take<std::uint16_t>() / 3.0, in.take<std::int8_t>() / 4.0};
    if ((header & 2) != 0) t.levelDb = in.take<std::int8_t>() / 2.0;
    input.measurementOffsetDb = in.take<std::int8_t>();

    input.channel = fuzzChannelRecord(in);
    const std::size_t points = o.effort == FitEffort::Full ? FullFitPoints : PreviewPoints;
    input.measurement = curveOf(in, points);
    if (t.shape == TargetShape::Curve) t.curve = curveOf(in, 64);

    const FitResult r = fitChannel(input);
    if (r.status != FitStatus::Ok) {
        fuzzCheck(r.status == FitStatus::Refused && !r.message.empty(), "a refusal says why");
        fuzzCheck(r.channel == input.channel, "a refusal changes nothing");
        return 0;
    }
    fuzzCheck(
        std::isfinite(r.errorBeforeDb) && std::isfinite(r.errorAfterDb) && r.errorAfterDb >= 0.0,
        "the errors are numbers");
    fuzzCheck(r.errorAfterDb <= r.errorBeforeDb + 1e-6, "never worse than the channel as it was");
    fuzzCheck(!r.errorFreeDb || std::isfinite(*r.errorFreeDb), "the free fit's error is a number");
    fuzzCheck(!r.errorRoundedDb || std::isfinite(*r.errorRoundedDb),
              "the rounded error is a number");
    fuzzCheck(finite(r.hz) && finite(r.targetDb) && finite(r.predictedDb) &&
                  r.hz.size() == r.targetDb.size() && r.hz.size() == r.predictedDb.size() &&
                  !r.hz.empty(),
              "the curves for the plot are numbers");
    for (int e = 0; e < EqBandCount; ++e) {
        const EqBand& b = r.channel.eq[e];
        if (o.keep[e]) {
            fuzzCheck(b == input.channel.eq[e], "a kept band stays");
        } else {
            fuzzCheck(b == input.channel.eq[e] || onGrid(b, e, o), "a band set is on the grid");
        }
    }
    fuzzCheck(r.channel.level == input.channel.level ||
                  (o.useLevel && ParameterLimits::level.contains(r.channel.level)),
              "the level stays or keeps to the panel's range");
    return 0;
}
