#pragma once
// Measurements and channels for the fit tests.

#include <cmath>
#include <functional>

#include "interchange/Measurement.h"
#include "model/ChannelRecord.h"
#include "response/EqResponse.h"

// A measurement at 1/48 octave from 20 Hz to 20 kHz with `db(f)` at each point.
inline Measurement measurementOf(const std::function<double(double)>& db) {
    Measurement m;
    for (double f = 20.0; f <= 20000.0 * 1.0001; f *= std::pow(2.0, 1.0 / 48.0)) {
        m.frequencies.push_back(f);
        m.db.push_back(db(f));
    }
    return m;
}

// The curve of bands as the response model computes them, in dB at f.
inline double bandsDb(const std::vector<std::pair<int, EqBand>>& bands, double f) {
    double db = 0.0;
    for (const auto& [e, b] : bands) {
        db += magnitudeToDb(eqMagnitude(f, b.frequency, b.q, b.level, e));
    }
    return db;
}

// All bands at 0 dB where a new file has them, filters off.
inline ChannelRecord flatChannel() {
    ChannelRecord r;
    r.hpFrequency = 20;
    r.lpFrequency = 150;
    const int hz[] = {40, 80, 160, 400, 2000, 6000};
    for (int e = 0; e < EqBandCount; ++e) r.eq[e] = {hz[e], 2, 0};
    return r;
}
