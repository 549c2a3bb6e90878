#include "interchange/CrossoverFit.h"

#include <array>
#include <cmath>
#include <limits>

#include "interchange/FieldMapping.h"
#include "interchange/FitGrid.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/FilterResponse.h"

namespace {

using Powers = std::array<double, FitPointCount>;
using Magnitude = double (*)(double f, double fc, double type);

CrossoverChoice fit(const std::vector<CookbookFilter>& sections, int currentFrequency,
                    Magnitude magnitude, ParameterLimits::Range range) {
    std::vector<AnalogBiquad> design;
    for (const CookbookFilter& s : sections) design.push_back(analogPrototype(s));
    const auto& f = fitFrequencies();
    Powers target{};
    for (int j = 0; j < FitPointCount; ++j) {
        target[j] = std::pow(10.0, productDb(design, f[j]) / 10.0);
    }
    const int corner = fitIndexOf(sections.empty() ? 1000.0 : sections.front().frequency);
    const auto measure = [&](int type, int fc, double boundRatio) {
        return boundedWorstRatio(
            [&](int j) {
                const double m = magnitude(f[j], fc, type);
                return m * m / target[j];
            },
            boundRatio, corner);
    };
    // Measured as power ratios; only the winner's becomes dB.
    CrossoverChoice best{FilterOff, currentFrequency, 0.0};
    double bestRatio =
        measure(FilterOff, currentFrequency, std::numeric_limits<double>::infinity());
    const auto consider = [&](int type, int fc) {
        const double ratio = measure(type, fc, bestRatio);
        if (ratio < bestRatio) {
            bestRatio = ratio;
            best.type = type;
            best.frequency = fc;
        }
    };
    // Every type at the grid frequency nearest to the text's first section
    // first, so that the search measures against a near candidate.
    const int near =
        nearestGridFrequency(sections.empty() ? 1000.0 : sections.front().frequency, range);
    for (int type = FilterFirstOrder; type <= FilterLinkwitzRiley24; ++type) consider(type, near);
    for (int type = FilterFirstOrder; type <= FilterLinkwitzRiley24; ++type) {
        for (const int fc : frequencyGrid()) {
            if (range.contains(fc)) consider(type, fc);
        }
    }
    best.maxDifferenceDb = dbOfRatio(bestRatio);
    return best;
}

}  // namespace

CrossoverChoice fitHighPass(const std::vector<CookbookFilter>& sections, int currentFrequency) {
    return fit(sections, currentFrequency, highPassMagnitude, ParameterLimits::hpFrequency);
}

CrossoverChoice fitLowPass(const std::vector<CookbookFilter>& sections, int currentFrequency) {
    return fit(sections, currentFrequency, lowPassMagnitude, ParameterLimits::lpFrequency);
}
