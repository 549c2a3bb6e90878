#include "interchange/FieldMapping.h"

#include <cmath>
#include <limits>

#include "model/ChannelRecord.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterTexts.h"

int nearestGridFrequency(double hz, ParameterLimits::Range range) {
    if (!(hz > range.lo)) return range.lo;
    if (!(hz < range.hi)) return range.hi;
    int best = range.lo;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const int g : frequencyGrid()) {
        if (!range.contains(g)) continue;
        const double distance = std::fabs(std::log(hz / g));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = g;
        }
    }
    return best;
}

int nearestPeakingQCode(double q) {
    int best = 1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int code = 1; code <= 20; ++code) {
        const double distance = std::fabs(std::log(q / (code / 2.0)));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = code;
        }
    }
    return best;
}

int wholeDb(double db, ParameterLimits::Range range) {
    if (!(db > range.lo)) return range.lo;
    if (!(db < range.hi)) return range.hi;
    return range.clamp(static_cast<int>(std::lround(db)));
}

int delayTapsFor(double ms, int channel) {
    const ParameterLimits::Range range = ParameterLimits::delayTaps(channel);
    const double taps = ms / 1000.0 / SecondsPerTap;
    if (!(taps > range.lo)) return range.lo;
    if (!(taps < range.hi)) return range.hi;
    return range.clamp(static_cast<int>(std::lround(taps)));
}
