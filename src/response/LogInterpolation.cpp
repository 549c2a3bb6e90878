#include "response/LogInterpolation.h"

#include <algorithm>
#include <cmath>

std::optional<double> logInterpolatedAt(const std::vector<double>& frequencies,
                                        const std::vector<double>& values, double hz) {
    if (!(hz > 0)) return std::nullopt;
    const std::vector<double>& f = frequencies;
    const std::vector<double>& v = values;
    const std::size_t n = std::min(f.size(), v.size());
    if (n == 0 || hz < f.front() || hz > f[n - 1]) return std::nullopt;
    const auto upper = static_cast<std::size_t>(
        std::lower_bound(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n), hz) - f.begin());
    if (f[upper] == hz) {
        if (std::isnan(v[upper])) return std::nullopt;
        return v[upper];
    }
    const std::size_t lower = upper - 1;
    if (std::isnan(v[lower]) || std::isnan(v[upper])) return std::nullopt;
    const double t = std::log(hz / f[lower]) / std::log(f[upper] / f[lower]);
    return v[lower] + t * (v[upper] - v[lower]);
}
