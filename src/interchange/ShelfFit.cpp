#include "interchange/ShelfFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "interchange/FieldMapping.h"
#include "interchange/FitGrid.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/AnalogSection.h"
#include "response/EqResponse.h"

namespace {

using Powers = std::array<double, FitPointCount>;

Powers powersOf(const AnalogBiquad& section) {
    Powers p{};
    const auto& f = fitFrequencies();
    for (int j = 0; j < FitPointCount; ++j) p[j] = std::norm(response(section, f[j]));
    return p;
}

// |H|² of the device's shelf with ratio x = f / F0: the low shelf is
// ((A − x²)² + (x/Q)²) / ((1 − x²)² + (x/Q)²), the high shelf has 1 − A·x²
// in place of A − x².
double deviceShelfPower(double x, double a, double invQ, bool low) {
    const double x2 = x * x;
    const double top = low ? a - x2 : 1.0 - a * x2;
    const double bottom = 1.0 - x2;
    const double damping = x * invQ;
    return (top * top + damping * damping) / (bottom * bottom + damping * damping);
}

}  // namespace

DeviceShelfFit nearestDeviceShelf(const CookbookFilter& shelf) {
    const bool low = shelf.type == CookbookType::LowShelf;
    const Powers target = powersOf(analogPrototype(shelf));
    const auto& f = fitFrequencies();
    const ParameterLimits::Range range =
        low ? ParameterLimits::lowShelfFrequency : ParameterLimits::highShelfFrequency;
    const ParameterLimits::Range gains = ParameterLimits::eqGain;
    double linear[ParameterLimits::eqGain.hi - ParameterLimits::eqGain.lo + 1];
    for (int level = gains.lo; level <= gains.hi; ++level) {
        linear[level - gains.lo] = std::pow(10.0, level / 20.0);
    }
    const int midpoint = fitIndexOf(shelf.frequency);
    // Measured as power ratios; only the winner's becomes dB.
    const auto measure = [&](const EqBand& b, double boundRatio) {
        const double a = linear[b.level - gains.lo];
        const double invQ = 1.0 / shelfQ(b.q);
        return boundedWorstRatio(
            [&](int j) { return deviceShelfPower(f[j] / b.frequency, a, invQ, low) / target[j]; },
            boundRatio, midpoint);
    };
    // Start from the shelf whose poles lie where the text's shelf has its
    // poles (its midpoint moved by the fourth root of the gain), so that
    // every other candidate is measured against a near one.
    const double poles = std::pow(10.0, shelf.gainDb / 80.0);
    const EqBand seed{
        nearestGridFrequency(low ? shelf.frequency / poles : shelf.frequency * poles, range),
        EqQCodeFirstShelf + 1,
        gains.clamp(static_cast<int>(std::lround(std::clamp(shelf.gainDb, -100.0, 100.0))))};
    EqBand bestBand = seed;
    double bestRatio = measure(seed, std::numeric_limits<double>::infinity());
    for (const int frequency : frequencyGrid()) {
        if (!range.contains(frequency)) continue;
        for (int code = EqQCodeFirstShelf; code <= EqQCodeLast; ++code) {
            for (int level = gains.lo; level <= gains.hi; ++level) {
                const EqBand candidate{frequency, code, level};
                const double ratio = measure(candidate, bestRatio);
                if (ratio < bestRatio) {
                    bestRatio = ratio;
                    bestBand = candidate;
                }
            }
        }
    }
    DeviceShelfFit best{bestBand, dbOfRatio(bestRatio)};
    if (best.band.level == 0) {
        // A band at 0 dB does nothing whatever its frequency and Q: keep
        // those nearest to the text's, as a user would expect to find them.
        best.band.frequency = nearestGridFrequency(shelf.frequency, range);
        int code = EqQCodeFirstShelf;
        for (int c = EqQCodeFirstShelf; c <= EqQCodeLast; ++c) {
            if (std::fabs(std::log(shelf.q / shelfQ(c))) <
                std::fabs(std::log(shelf.q / shelfQ(code)))) {
                code = c;
            }
        }
        best.band.q = code;
    }
    return best;
}

std::optional<EqBand> deviceShelfOf(const std::vector<RateBiquad>& biquads, bool lowShelf) {
    if (biquads.empty()) return std::nullopt;
    // Written with every digit, a coefficient reads back within a few units
    // of its last place.
    constexpr double Same = 1e-12;
    const auto same = [](const Biquad& a, const Biquad& b) {
        return std::fabs(a.b0 - b.b0) <= Same && std::fabs(a.b1 - b.b1) <= Same &&
               std::fabs(a.b2 - b.b2) <= Same && std::fabs(a.a1 - b.a1) <= Same &&
               std::fabs(a.a2 - b.a2) <= Same;
    };
    const ParameterLimits::Range range =
        lowShelf ? ParameterLimits::lowShelfFrequency : ParameterLimits::highShelfFrequency;
    const int band = lowShelf ? 4 : HighShelfBand;
    for (const int frequency : frequencyGrid()) {
        if (!range.contains(frequency)) continue;
        for (int code = EqQCodeFirstShelf; code <= EqQCodeLast; ++code) {
            for (int level = ParameterLimits::eqGain.lo; level <= ParameterLimits::eqGain.hi;
                 ++level) {
                // At 0 dB every shelf is the same filter: nothing to recognise.
                if (level == 0) continue;
                const EqBand candidate{frequency, code, level};
                const AnalogBiquad analog = analogPrototype(eqBandSection(candidate, band));
                const bool all =
                    std::all_of(biquads.begin(), biquads.end(), [&](const RateBiquad& r) {
                        return frequency < r.sampleRate / 2.0 &&
                               same(bilinear(analog, r.sampleRate), r.biquad);
                    });
                if (all) return candidate;
            }
        }
    }
    return std::nullopt;
}

namespace {

// The largest difference between the cookbook shelf and the device's powers.
double cookbookShelfDifference(const CookbookFilter& filter, const Powers& device) {
    const Powers powers = powersOf(analogPrototype(filter));
    RatioSpread spread;
    for (int j = 0; j < FitPointCount; ++j) spread.add(powers[j] / device[j]);
    return spread.maxDb();
}

}  // namespace

CookbookShelfFit nearestCookbookShelf(const AnalogSection& section) {
    const bool low = section.type == SectionType::LowShelf;
    const Powers device = powersOf(analogPrototype(section));
    // Start where the two share their poles' frequency and their zeros'
    // frequency, with the Q between the device's pole Q and zero Q (the
    // device's zeros have √A times the Q of its poles).
    const double half = std::pow(10.0, section.gainDb / 80.0);
    CookbookFilter start{low ? CookbookType::LowShelf : CookbookType::HighShelf,
                         low ? section.frequency * half : section.frequency / half, section.gainDb,
                         section.q * half};
    // A pattern search on log frequency, log Q and gain: try a step either
    // way on each, take what improves, halve the steps when nothing does.
    CookbookShelfFit best{start, cookbookShelfDifference(start, device)};
    double steps[3] = {0.05, 0.05, 0.25};  // decades, decades, dB
    for (int round = 0; round < 400 && steps[0] > 1e-5; ++round) {
        bool improved = false;
        for (int axis = 0; axis < 3; ++axis) {
            for (const double sign : {1.0, -1.0}) {
                CookbookFilter trial = best.filter;
                if (axis == 0) trial.frequency *= std::pow(10.0, sign * steps[0]);
                if (axis == 1) trial.q *= std::pow(10.0, sign * steps[1]);
                if (axis == 2) trial.gainDb += sign * steps[2];
                const double db = cookbookShelfDifference(trial, device);
                if (db < best.maxDifferenceDb) {
                    best = {trial, db};
                    improved = true;
                }
            }
        }
        if (!improved) {
            for (double& s : steps) s /= 2.0;
        }
    }
    return best;
}
