#pragma once
// Driver pairs for the alignment tests: ideal drivers (flat, no phase of
// their own) heard with a delay, as a measuring program exports them.

#include <cmath>

#include "FitTestData.h"
#include "model/DelayUnits.h"
#include "model/ParameterImage.h"

// A flat driver at `db` whose sound arrives `taps` taps late, plus `turnDegrees`,
// at 1/48 octave; the phase wrapped to +-180 degrees as REW writes it.
inline Measurement idealDriver(double db, double taps, double turnDegrees = 0.0) {
    Measurement m = measurementOf([&](double) { return db; });
    for (double f : m.frequencies) {
        const double degrees = -360.0 * f * taps * SecondsPerTap + turnDegrees;
        m.phaseDegrees.push_back(std::remainder(degrees, 360.0));
    }
    return m;
}

// Channel `lowPass` ends at `hz` with `type`, `highPass` starts there; both on "L".
inline std::array<ChannelRecord, ChannelCount> crossoverPair(int hz, int type, int lowPass = 0,
                                                             int highPass = 1) {
    std::array<ChannelRecord, ChannelCount> records;
    records.fill(flatChannel());
    for (ChannelRecord& r : records) r.input = 1;  // the others play on "R"
    records[lowPass].input = 0;
    records[lowPass].lpFrequency = hz;
    records[lowPass].lpType = type;
    records[highPass].input = 0;
    records[highPass].hpFrequency = hz;
    records[highPass].hpType = type;
    return records;
}
