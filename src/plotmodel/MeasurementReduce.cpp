#include "plotmodel/MeasurementReduce.h"

#include <algorithm>
#include <cmath>

#include "plotmodel/EnvelopeReducer.h"

Measurement reducedMeasurement(const Measurement& m, int bandsPerDecade) {
    Measurement out;
    const bool phase = m.phaseDegrees.size() == m.frequencies.size();
    const auto keep = [&](std::size_t i) {
        out.frequencies.push_back(m.frequencies[i]);
        out.db.push_back(m.db[i]);
        if (phase) out.phaseDegrees.push_back(m.phaseDegrees[i]);
    };
    EnvelopeReducer<long long, double> band;
    const std::size_t n = std::min(m.frequencies.size(), m.db.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double f = m.frequencies[i];
        const auto bucket = f > 0
                                ? static_cast<long long>(std::floor(std::log10(f) * bandsPerDecade))
                                : static_cast<long long>(i) - (1LL << 62);
        band.add(i, bucket, m.db[i], keep);
    }
    band.flush(keep);
    return out;
}
