#include "tuning/MeasuredPhase.h"

#include <cmath>
#include <numbers>

#include "tuning/Smoothing.h"

bool hasPhase(const Measurement& m) {
    return !m.frequencies.empty() && m.phaseDegrees.size() == m.frequencies.size();
}

std::vector<double> unwrappedPhaseDegrees(const std::vector<double>& hz,
                                          const std::vector<double>& degrees) {
    const std::size_t n = std::min(hz.size(), degrees.size());
    std::vector<double> out(n);
    if (n == 0) return out;
    // Wrapped first, so that no difference of huge values overflows.
    out[0] = std::isfinite(degrees[0]) ? std::remainder(degrees[0], 360.0) : 0.0;
    for (std::size_t k = 1; k < n; ++k) {
        double predicted = out[k - 1];
        if (k >= 2 && hz[k - 1] > hz[k - 2]) {
            const double slope = (out[k - 1] - out[k - 2]) / (hz[k - 1] - hz[k - 2]);
            const double step = slope * (hz[k] - hz[k - 1]);
            if (std::isfinite(step)) predicted += step;
        }
        const double here = std::isfinite(degrees[k]) ? std::remainder(degrees[k], 360.0) : 0.0;
        const double turn = std::remainder(here - std::remainder(predicted, 360.0), 360.0);
        out[k] = std::isfinite(turn) ? predicted + turn : predicted;
    }
    return out;
}

MeasuredPhase::MeasuredPhase(const Measurement& m, double loHz, double hiHz)
    : m_hz(m.frequencies), m_db(m.db) {
    const std::vector<double> phase = unwrappedPhaseDegrees(m.frequencies, m.phaseDegrees);
    m_residual = phase;
    // Least squares of phase = a - 360 f tau over the range.
    for (int pass = 0; pass < 2; ++pass) {
        double n = 0.0;
        double sf = 0.0;
        double sp = 0.0;
        for (std::size_t k = 0; k < phase.size(); ++k) {
            if (pass == 0 && (m_hz[k] < loHz || m_hz[k] > hiHz)) continue;
            n += 1.0;
            sf += m_hz[k];
            sp += phase[k];
        }
        if (n < 2.0) continue;
        const double meanF = sf / n;
        const double meanP = sp / n;
        double sff = 0.0;
        double sfp = 0.0;
        for (std::size_t k = 0; k < phase.size(); ++k) {
            if (pass == 0 && (m_hz[k] < loHz || m_hz[k] > hiHz)) continue;
            sff += (m_hz[k] - meanF) * (m_hz[k] - meanF);
            sfp += (m_hz[k] - meanF) * (phase[k] - meanP);
        }
        const double tau = sff > 0.0 ? -sfp / sff / 360.0 : 0.0;
        m_delay = std::isfinite(tau) ? tau : 0.0;
        break;
    }
    for (std::size_t k = 0; k < phase.size(); ++k) m_residual[k] += 360.0 * m_hz[k] * m_delay;
}

double MeasuredPhase::phaseDegreesAt(double hz) const {
    return curveDbAt(m_hz, m_residual, hz) - 360.0 * hz * m_delay;
}

std::complex<double> MeasuredPhase::valueAt(double hz) const {
    const double db = curveDbAt(m_hz, m_db, hz);
    // The delay's turn taken modulo whole turns before it becomes an angle.
    const double turns =
        curveDbAt(m_hz, m_residual, hz) / 360.0 - std::remainder(hz * m_delay, 1.0);
    return std::polar(std::pow(10.0, db / 20.0), 2.0 * std::numbers::pi * turns);
}
