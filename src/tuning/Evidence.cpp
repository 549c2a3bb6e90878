#include "tuning/Evidence.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "tuning/MeasuredPhase.h"
#include "tuning/Smoothing.h"

namespace {

// Below this the averaged power or vector counts as silence (-300 dB).
constexpr double LinearFloor = 1e-15;

// The level average over log frequency across the measurement's own span.
double spanAverageDb(const Measurement& m) {
    double area = 0.0;
    double width = 0.0;
    for (std::size_t k = 1; k < m.frequencies.size(); ++k) {
        const double w = std::log(m.frequencies[k] / m.frequencies[k - 1]);
        area += w * (m.db[k] / 2.0 + m.db[k - 1] / 2.0);
        width += w;
    }
    return width > 0.0 ? area / width : (m.db.empty() ? 0.0 : m.db.front());
}

}  // namespace

EvidenceCurve combineMeasurements(const std::vector<Measurement>& measurements, Averaging averaging,
                                  int perOctave) {
    EvidenceCurve out;
    if (measurements.empty()) {
        out.error = "Keine Messung gewählt.";
        return out;
    }
    double lo = 0.0;
    double hi = INFINITY;
    for (const Measurement& m : measurements) {
        if (m.frequencies.size() < 2 || m.db.size() != m.frequencies.size()) {
            out.error = "Eine Messung enthält keine zwei Messpunkte.";
            return out;
        }
        if (averaging == Averaging::Vector && m.phaseDegrees.size() != m.frequencies.size()) {
            out.error = "Die Vektormittelung braucht die Phase aller Messungen.";
            return out;
        }
        lo = std::max(lo, m.frequencies.front());
        hi = std::min(hi, m.frequencies.back());
    }
    std::vector<double> hz;
    for (double f : measurements.front().frequencies) {
        if (f >= lo && f <= hi) hz.push_back(f);
    }
    if (hz.size() < 2) {
        out.error = "Die Messungen haben keinen gemeinsamen Frequenzbereich.";
        return out;
    }

    const double count = static_cast<double>(measurements.size());
    std::vector<double> db(hz.size(), 0.0);
    if (averaging == Averaging::Db || measurements.size() == 1) {
        for (const Measurement& m : measurements) {
            for (std::size_t k = 0; k < hz.size(); ++k) {
                db[k] += curveDbAt(m.frequencies, m.db, hz[k]) / count;
            }
        }
    } else if (averaging == Averaging::Power) {
        // Relative to the loudest level, so that no power overflows.
        double top = -INFINITY;
        for (const Measurement& m : measurements) {
            top = std::max(top, *std::max_element(m.db.begin(), m.db.end()));
        }
        std::vector<double> power(hz.size(), 0.0);
        for (const Measurement& m : measurements) {
            for (std::size_t k = 0; k < hz.size(); ++k) {
                power[k] += std::pow(10.0, (curveDbAt(m.frequencies, m.db, hz[k]) - top) / 10.0);
            }
        }
        for (std::size_t k = 0; k < hz.size(); ++k) {
            db[k] = top + 10.0 * std::log10(std::max(LinearFloor, power[k] / count));
        }
    } else {
        double top = -INFINITY;
        for (const Measurement& m : measurements) {
            top = std::max(top, *std::max_element(m.db.begin(), m.db.end()));
        }
        std::vector<std::complex<double>> sum(hz.size());
        for (const Measurement& m : measurements) {
            const std::vector<double> phase = unwrappedPhaseDegrees(m.frequencies, m.phaseDegrees);
            for (std::size_t k = 0; k < hz.size(); ++k) {
                const double level = curveDbAt(m.frequencies, m.db, hz[k]) - top;
                const double radians =
                    curveDbAt(m.frequencies, phase, hz[k]) * std::numbers::pi / 180.0;
                sum[k] += std::polar(std::pow(10.0, level / 20.0), radians);
            }
        }
        for (std::size_t k = 0; k < hz.size(); ++k) {
            db[k] = top + 20.0 * std::log10(std::max(LinearFloor, std::abs(sum[k]) / count));
        }
    }
    out.curve.frequencies = std::move(hz);
    out.curve.db = smoothedDb(out.curve.frequencies, db, perOctave);
    out.ok = true;
    return out;
}

double sharedNormalisationOffset(const std::vector<const Measurement*>& measurements) {
    bool any = false;
    double loudest = 0.0;
    for (const Measurement* m : measurements) {
        if (m == nullptr || m->frequencies.size() < 2) continue;
        double level = 0.0;
        if (!midrangeAverageDb(*m, level)) level = spanAverageDb(*m);
        if (!any || level > loudest) loudest = level;
        any = true;
    }
    return any ? -loudest : 0.0;
}
