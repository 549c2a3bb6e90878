#include "tuning/Smoothing.h"

#include <algorithm>
#include <cmath>

#include "response/LogInterpolation.h"

namespace {

// The smallest relative power kept: 300 dB below the loudest point, so a
// curve with a hole of -inf in it stays finite.
constexpr double PowerFloor = 1e-30;

// Integral of a piecewise-linear function over log frequency, from the first
// point to any x within the span.
class PowerIntegral {
public:
    PowerIntegral(const std::vector<double>& x, const std::vector<double>& p) : m_x(x), m_p(p) {
        m_sum.resize(x.size());
        for (std::size_t k = 1; k < x.size(); ++k) {
            m_sum[k] = m_sum[k - 1] + (x[k] - x[k - 1]) * (p[k] + p[k - 1]) / 2.0;
        }
    }

    // `k` is the segment holding x (x[k] <= x <= x[k + 1]).
    double upTo(double at, std::size_t k) const {
        if (k + 1 >= m_x.size()) return m_sum.back();
        const double width = m_x[k + 1] - m_x[k];
        const double t = width > 0.0 ? (at - m_x[k]) / width : 0.0;
        const double pAt = m_p[k] + t * (m_p[k + 1] - m_p[k]);
        return m_sum[k] + (at - m_x[k]) * (m_p[k] + pAt) / 2.0;
    }

private:
    const std::vector<double>& m_x;
    const std::vector<double>& m_p;
    std::vector<double> m_sum;
};

}  // namespace

std::vector<double> smoothedDb(const std::vector<double>& hz, const std::vector<double>& db,
                               int perOctave) {
    const std::size_t n = std::min(hz.size(), db.size());
    std::vector<double> out(db.begin(), db.begin() + static_cast<std::ptrdiff_t>(n));
    if (perOctave <= 0 || n < 2) return out;

    const double top = *std::max_element(out.begin(), out.end());
    std::vector<double> x(n);
    std::vector<double> p(n);
    for (std::size_t k = 0; k < n; ++k) {
        x[k] = std::log(hz[k]);
        p[k] = std::max(PowerFloor, std::pow(10.0, (db[k] - top) / 10.0));
    }
    const PowerIntegral integral(x, p);
    const double half = std::log(2.0) / (2.0 * perOctave);
    std::size_t lo = 0;  // segment of the window's lower edge
    std::size_t hi = 0;  // segment of its upper edge
    for (std::size_t i = 0; i < n; ++i) {
        const double a = std::max(x[i] - half, x.front());
        const double b = std::min(x[i] + half, x.back());
        while (lo + 1 < n - 1 && x[lo + 1] <= a) ++lo;
        while (hi + 1 < n - 1 && x[hi + 1] <= b) ++hi;
        const double width = b - a;
        const double mean =
            width > 0.0 ? (integral.upTo(b, hi) - integral.upTo(a, lo)) / width : p[i];
        out[i] = top + 10.0 * std::log10(std::max(PowerFloor, mean));
    }
    return out;
}

double curveDbAt(const std::vector<double>& hz, const std::vector<double>& db, double at) {
    const std::size_t n = std::min(hz.size(), db.size());
    if (n == 0) return 0.0;
    return logInterpolatedAt(hz, db, std::clamp(at, hz.front(), hz[n - 1])).value_or(0.0);
}
