#include "interchange/CrossoverFit.h"

#include <cmath>
#include <limits>

#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "response/ResponseGrid.h"

namespace {

// The response grid's points from 20 Hz to 20 kHz (points 100..400).
constexpr int FirstPoint = 100;
constexpr int LastPoint = 400;
constexpr int PointCount = LastPoint - FirstPoint + 1;

using Curve = std::vector<double>;

Curve designedDb(const std::vector<AnalogSection>& sections) {
    Curve db(PointCount, 0.0);
    for (int j = 0; j < PointCount; ++j) {
        const double f = responseGridFrequency(FirstPoint + j);
        for (const AnalogSection& s : sections) db[j] += magnitudeToDb(sectionMagnitude(s, f));
    }
    return db;
}

using Magnitude = double (*)(double f, double fc, double type);

// Largest difference between the candidate and `target`; stops early once it
// exceeds `bound`, since the candidate is then no better than the best so far.
double maxDifference(const Curve& target, Magnitude magnitude, int fc, int type, double bound) {
    double worst = 0.0;
    for (int j = 0; j < PointCount && worst <= bound; ++j) {
        const double f = responseGridFrequency(FirstPoint + j);
        const double d = std::fabs(magnitudeToDb(magnitude(f, fc, type)) - target[j]);
        if (d > worst) worst = d;
    }
    return worst;
}

CrossoverChoice fit(const std::vector<AnalogSection>& sections, int currentFrequency,
                    Magnitude magnitude, ParameterLimits::Range range) {
    const Curve target = designedDb(sections);
    CrossoverChoice best{FilterOff, currentFrequency,
                         maxDifference(target, magnitude, currentFrequency, FilterOff,
                                       std::numeric_limits<double>::infinity())};
    for (int type = FilterFirstOrder; type <= FilterLinkwitzRiley24; ++type) {
        for (const int fc : frequencyGrid()) {
            if (!range.contains(fc)) continue;
            const double d = maxDifference(target, magnitude, fc, type, best.maxDifferenceDb);
            if (d < best.maxDifferenceDb) best = {type, fc, d};
        }
    }
    return best;
}

}  // namespace

CrossoverChoice fitHighPass(const std::vector<AnalogSection>& sections, int currentFrequency) {
    return fit(sections, currentFrequency, highPassMagnitude, ParameterLimits::hpFrequency);
}

CrossoverChoice fitLowPass(const std::vector<AnalogSection>& sections, int currentFrequency) {
    return fit(sections, currentFrequency, lowPassMagnitude, ParameterLimits::lpFrequency);
}
