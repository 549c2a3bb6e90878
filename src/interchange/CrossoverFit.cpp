#include "interchange/CrossoverFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "interchange/FitGrid.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/FilterResponse.h"

namespace {

using Powers = std::array<double, FitPointCount>;
using Magnitude = double (*)(double f, double fc, double type);

struct Candidate {
    int type;
    int frequency;
    double lowerBoundDb = 0.0;
};

// The spread of |candidate|² / target over every `step`-th point; stops
// once it exceeds `boundRatio`.
RatioSpread spreadOf(const Candidate& c, const Powers& target, Magnitude magnitude, int step,
                     double boundRatio) {
    const auto& f = fitFrequencies();
    RatioSpread spread;
    for (int j = 0; j < FitPointCount && !spread.exceeds(boundRatio); j += step) {
        const double m = magnitude(f[j], c.frequency, c.type);
        spread.add(m * m / target[j]);
    }
    return spread;
}

CrossoverChoice fit(const std::vector<CookbookFilter>& sections, int currentFrequency,
                    Magnitude magnitude, ParameterLimits::Range range) {
    std::vector<AnalogBiquad> design;
    for (const CookbookFilter& s : sections) design.push_back(analogPrototype(s));
    Powers target{};
    for (int j = 0; j < FitPointCount; ++j) {
        target[j] = std::pow(10.0, productDb(design, fitFrequencies()[j]) / 10.0);
    }
    const double unbounded = std::numeric_limits<double>::infinity();
    const Candidate off{FilterOff, currentFrequency};
    CrossoverChoice best{FilterOff, currentFrequency,
                         spreadOf(off, target, magnitude, 1, unbounded).maxDb()};

    std::vector<Candidate> candidates;
    for (int type = FilterFirstOrder; type <= FilterLinkwitzRiley24; ++type) {
        for (const int fc : frequencyGrid()) {
            if (!range.contains(fc)) continue;
            Candidate c{type, fc};
            c.lowerBoundDb = spreadOf(c, target, magnitude, FitCoarseStep, unbounded).maxDb();
            candidates.push_back(c);
        }
    }
    // In the order of the coarse bound; only those that can still win are
    // measured on every point. Equal bounds keep the order of type and
    // frequency, so the first of equally near candidates wins.
    std::stable_sort(
        candidates.begin(), candidates.end(),
        [](const Candidate& a, const Candidate& b) { return a.lowerBoundDb < b.lowerBoundDb; });
    for (const Candidate& c : candidates) {
        if (c.lowerBoundDb >= best.maxDifferenceDb) break;
        const double db =
            spreadOf(c, target, magnitude, 1, powerRatioOfDb(best.maxDifferenceDb)).maxDb();
        if (db < best.maxDifferenceDb) best = {c.type, c.frequency, db};
    }
    return best;
}

}  // namespace

CrossoverChoice fitHighPass(const std::vector<CookbookFilter>& sections, int currentFrequency) {
    return fit(sections, currentFrequency, highPassMagnitude, ParameterLimits::hpFrequency);
}

CrossoverChoice fitLowPass(const std::vector<CookbookFilter>& sections, int currentFrequency) {
    return fit(sections, currentFrequency, lowPassMagnitude, ParameterLimits::lpFrequency);
}
