#include "tuning/FreeFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/EqResponse.h"
#include "response/GridCurves.h"

namespace {

// Weight of the boost limit in the least squares (per dB above it).
constexpr double BoostPenalty = 10.0;
constexpr double FirstShelfQ = 0.3;
constexpr double LastShelfQ = 0.7;
constexpr double StartQ = 1.0;
constexpr int Smear = 3;  // points on each side when looking for the largest deviation

struct Bounds {
    double lo[3];
    double hi[3];
};

ParameterLimits::Range frequencyRangeOf(SectionType type) {
    return type == SectionType::LowShelf    ? ParameterLimits::lowShelfFrequency
           : type == SectionType::HighShelf ? ParameterLimits::highShelfFrequency
                                            : ParameterLimits::eqFrequency;
}

Bounds boundsOf(SectionType type, const FitOptions& options) {
    const ParameterLimits::Range f = frequencyRangeOf(type);
    const bool shelf = type != SectionType::Peaking;
    return {{std::log(double(f.lo)), std::log(shelf ? FirstShelfQ : 0.5),
             double(ParameterLimits::eqGain.lo)},
            {std::log(double(f.hi)), std::log(shelf ? LastShelfQ : options.maxQ),
             double(options.maxBoostDb)}};
}

// Solves (A) x = b for a symmetric positive definite A (Cholesky); false when
// A is not.
bool solve(std::vector<double> a, std::vector<double> b, int n, std::vector<double>& x) {
    for (int j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (int k = 0; k < j; ++k) d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0.0)) return false;
        d = std::sqrt(d);
        a[j * n + j] = d;
        for (int i = j + 1; i < n; ++i) {
            double s = a[i * n + j];
            for (int k = 0; k < j; ++k) s -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = s / d;
        }
    }
    for (int i = 0; i < n; ++i) {
        double s = b[i];
        for (int k = 0; k < i; ++k) s -= a[i * n + k] * b[k];
        b[i] = s / a[i * n + i];
    }
    x.assign(n, 0.0);
    for (int i = n - 1; i >= 0; --i) {
        double s = b[i];
        for (int k = i + 1; k < n; ++k) s -= a[k * n + i] * x[k];
        x[i] = s / a[i * n + i];
    }
    return true;
}

}  // namespace

// The bands in use, in band order, with their values as ln F, ln Q and gain,
// and the channel level where the fit chooses it.
struct FreeFitter::Parameters {
    std::vector<int> band;
    std::vector<SectionType> type;
    std::vector<double> value;  // 3 per band, then the level (Chosen)
    bool level = false;

    int size() const { return static_cast<int>(value.size()); }
    AnalogSection section(int k) const {
        return {type[k], std::exp(value[3 * k]), std::exp(value[3 * k + 1]), value[3 * k + 2]};
    }
};

FreeFitter::FreeFitter(const FitProblem& problem, const FitOptions& options,
                       const ChannelRecord& channel, const std::atomic<bool>* cancel)
    : m_problem(problem), m_options(options), m_cancel(cancel) {
    FitCurve curve{};
    for (int e = 0; e < EqBandCount; ++e) {
        if (!options.keep[e]) continue;
        eqBandDbCurve(channel.eq[e], e, FitFirstPoint, FitPointCount, curve.data());
        for (int i = 0; i < FitPointCount; ++i) m_keptEq[i] += curve[i];
    }
}

bool FreeFitter::cancelled() const {
    return m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed);
}

// Sum of squares of the residual: the weighted residual (less its mean when
// the target's level is free), then the boost above the limit, from the
// bands' curves. `residual` receives the whole vector.
double FreeFitter::costOf(const std::vector<FitCurve>& curves, double level,
                          std::vector<double>* residual, double* meanSquare) const {
    FitCurve eq = m_keptEq;
    for (const FitCurve& curve : curves) {
        for (int i = 0; i < FitPointCount; ++i) eq[i] += curve[i];
    }
    double mean = 0.0;
    if (m_problem.levelMode == LevelMode::Free) {
        for (int i = 0; i < FitPointCount; ++i) {
            mean += m_problem.weight[i] * (m_problem.base[i] + eq[i]);
        }
        mean /= m_problem.count;
    }
    double fitSum = 0.0;
    double penaltySum = 0.0;
    if (residual) residual->assign(2 * FitPointCount, 0.0);
    for (int i = 0; i < FitPointCount; ++i) {
        const double r = m_problem.weight[i] * (m_problem.base[i] + eq[i] + level - mean);
        const double over = BoostPenalty * std::max(0.0, eq[i] - m_problem.boostLimit);
        fitSum += r * r;
        penaltySum += over * over;
        if (residual) {
            (*residual)[i] = r;
            (*residual)[FitPointCount + i] = over;
        }
    }
    if (meanSquare) *meanSquare = fitSum / m_problem.count;
    return fitSum + penaltySum;
}

std::vector<FitCurve> FreeFitter::curvesOf(const Parameters& p) const {
    std::vector<FitCurve> curves(p.band.size());
    for (std::size_t k = 0; k < curves.size(); ++k) {
        sectionDbCurve(p.section(static_cast<int>(k)), FitFirstPoint, FitPointCount,
                       curves[k].data());
    }
    return curves;
}

double FreeFitter::levelOf(const Parameters& p) const {
    return p.level                                  ? p.value.back()
           : m_problem.levelMode == LevelMode::Kept ? m_problem.keptLevel
                                                    : 0.0;
}

double FreeFitter::cost(const Parameters& p, std::vector<double>* residual,
                        double* meanSquare) const {
    return costOf(curvesOf(p), levelOf(p), residual, meanSquare);
}

void FreeFitter::refine(Parameters& p, int iterations, int first) const {
    const int n = p.size() - first;
    if (n <= 0) return;
    const int m = 2 * FitPointCount;
    const int bands = static_cast<int>(p.band.size());
    // The curves of the bands as they stand; only those whose values move
    // are computed anew.
    std::vector<FitCurve> curves = curvesOf(p);
    std::vector<double> r;
    double current = costOf(curves, levelOf(p), &r, nullptr);
    std::vector<double> jac(static_cast<std::size_t>(n) * m);
    std::vector<double> rStep;
    double lambda = 1e-3;
    int stalls = 0;
    for (int it = 0; it < iterations && !cancelled(); ++it) {
        // Forward differences; each column is the change of the residual
        // when one value moves, which changes one band's curve (or the level).
        for (int j = 0; j < n; ++j) {
            const double h = 1e-5;
            Parameters q = p;
            q.value[first + j] += h;
            const int k = (first + j) / 3;
            if (k < bands) {
                const FitCurve kept = curves[k];
                sectionDbCurve(q.section(k), FitFirstPoint, FitPointCount, curves[k].data());
                costOf(curves, levelOf(q), &rStep, nullptr);
                curves[k] = kept;
            } else {
                costOf(curves, levelOf(q), &rStep, nullptr);
            }
            for (int i = 0; i < m; ++i) jac[j * m + i] = (rStep[i] - r[i]) / h;
        }
        // Only rows that carry anything: the counted points, and the boost
        // rows where the limit is or would be crossed.
        std::vector<int> rows;
        for (int i = 0; i < m; ++i) {
            bool used = r[i] != 0.0;
            for (int j = 0; j < n && !used; ++j) used = jac[j * m + i] != 0.0;
            if (used) rows.push_back(i);
        }
        std::vector<double> a(static_cast<std::size_t>(n) * n, 0.0);
        std::vector<double> g(n, 0.0);
        for (int j = 0; j < n; ++j) {
            const double* cj = &jac[static_cast<std::size_t>(j) * m];
            for (int k = 0; k <= j; ++k) {
                const double* ck = &jac[static_cast<std::size_t>(k) * m];
                double s = 0.0;
                for (const int i : rows) s += cj[i] * ck[i];
                a[j * n + k] = a[k * n + j] = s;
            }
            double s = 0.0;
            for (const int i : rows) s += cj[i] * r[i];
            g[j] = -s;
        }
        bool accepted = false;
        while (!accepted && lambda < 1e7) {
            std::vector<double> damped = a;
            for (int j = 0; j < n; ++j) damped[j * n + j] += lambda * a[j * n + j] + 1e-9;
            std::vector<double> step;
            if (!solve(damped, g, n, step)) {
                lambda *= 4.0;
                continue;
            }
            Parameters q = p;
            for (int j = 0; j < n; ++j) {
                const int v = first + j;
                const int k = v / 3;
                if (k < bands) {
                    const Bounds b = boundsOf(p.type[k], m_options);
                    q.value[v] = std::clamp(q.value[v] + step[j], b.lo[v % 3], b.hi[v % 3]);
                } else {
                    q.value[v] = std::clamp(q.value[v] + step[j], double(ParameterLimits::level.lo),
                                            double(ParameterLimits::level.hi));
                }
            }
            std::vector<FitCurve> trial = curves;
            for (int k = first / 3; k < bands; ++k) {
                sectionDbCurve(q.section(k), FitFirstPoint, FitPointCount, trial[k].data());
            }
            std::vector<double> rq;
            const double next = costOf(trial, levelOf(q), &rq, nullptr);
            if (next < current) {
                stalls = (current - next) < 1e-6 * current ? stalls + 1 : 0;
                p = std::move(q);
                curves = std::move(trial);
                r = std::move(rq);
                current = next;
                lambda = std::max(lambda / 3.0, 1e-9);
                accepted = true;
            } else {
                lambda *= 4.0;
            }
        }
        if (!accepted || stalls >= 2) break;
    }
}

FreeFitResult FreeFitter::resultOf(const Parameters& p) const {
    FreeFitResult out;
    cost(p, nullptr, &out.meanSquare);
    for (int k = 0; k < static_cast<int>(p.band.size()); ++k) {
        const AnalogSection s = p.section(k);
        out.bands[p.band[k]] = {true, s.type, s.frequency, s.q, s.gainDb};
    }
    return out;
}

FreeFitResult FreeFitter::fit() {
    Parameters p;
    p.level = m_problem.levelMode == LevelMode::Chosen;
    if (p.level) p.value.push_back(0.0);
    const auto addBand = [&](Parameters& to, int b, SectionType type, double f, double q,
                             double g) {
        const Bounds bounds = boundsOf(type, m_options);
        const int at = static_cast<int>(to.band.size());
        to.band.push_back(b);
        to.type.push_back(type);
        const double v[3] = {std::log(f), std::log(q), g};
        for (int c = 0; c < 3; ++c) {
            to.value.insert(to.value.begin() + 3 * at + c,
                            std::clamp(v[c], bounds.lo[c], bounds.hi[c]));
        }
    };
    // The bands that can shelve first, as the grid search does; each band
    // starts as a peaking band at the largest deviation and, where it may,
    // as a shelf at a few corners, and keeps what fits best.
    const bool shelves = m_options.shelves == ShelfUse::IfHelpful;
    static constexpr int ShelvesFirst[EqBandCount] = {4, 5, 0, 1, 2, 3};
    std::vector<double> r;
    for (int k = 0; k < EqBandCount && !cancelled(); ++k) {
        const int b = shelves ? ShelvesFirst[k] : k;
        if (m_options.keep[b]) continue;
        cost(p, &r, nullptr);
        // The largest deviation, smeared over a few points so that a single
        // spike does not draw the band.
        int best = -1;
        double bestValue = 0.0;
        for (int i = 0; i < FitPointCount; ++i) {
            if (m_problem.weight[i] == 0.0) continue;
            double sum = 0.0;
            int count = 0;
            for (int j = std::max(0, i - Smear); j <= std::min(FitPointCount - 1, i + Smear); ++j) {
                if (m_problem.weight[j] == 0.0) continue;
                sum += r[j];
                ++count;
            }
            const double v = sum / count;
            if (best < 0 || std::fabs(v) > std::fabs(bestValue)) {
                best = i;
                bestValue = v;
            }
        }
        if (best < 0) break;
        const int newBand = 3 * static_cast<int>(p.band.size());
        Parameters chosen = p;
        addBand(chosen, b, SectionType::Peaking, m_problem.hz[best],
                std::min(StartQ, m_options.maxQ), -bestValue);
        refine(chosen, 10, newBand);
        double chosenCost = cost(chosen, nullptr, nullptr);
        const bool low = b == 4;
        if (shelves && (low || b == HighShelfBand)) {
            static constexpr double Corners[] = {0.1, 0.3, 0.5};  // of the range, in log frequency
            for (const double at : Corners) {
                const double lo = std::log(m_problem.range.loHz);
                const double hi = std::log(m_problem.range.hiHz);
                const double f = std::exp(low ? lo + at * (hi - lo) : hi - at * (hi - lo));
                double sum = 0.0;
                int count = 0;
                for (int i = 0; i < FitPointCount; ++i) {
                    if (m_problem.weight[i] == 0.0 ||
                        (low ? m_problem.hz[i] > f : m_problem.hz[i] < f)) {
                        continue;
                    }
                    sum += r[i];
                    ++count;
                }
                Parameters shelf = p;
                addBand(shelf, b, low ? SectionType::LowShelf : SectionType::HighShelf, f, 0.5,
                        count > 0 ? -sum / count : 0.0);
                refine(shelf, 10, newBand);
                const double c = cost(shelf, nullptr, nullptr);
                if (c < chosenCost) {
                    chosenCost = c;
                    chosen = std::move(shelf);
                }
            }
        }
        p = std::move(chosen);
    }
    refine(p, 40);
    return resultOf(p);
}

FreeFitResult FreeFitter::polish(const std::array<FreeBand, EqBandCount>& start) {
    Parameters p;
    for (int b = 0; b < EqBandCount; ++b) {
        if (m_options.keep[b] || !start[b].used) continue;
        const Bounds bounds = boundsOf(start[b].type, m_options);
        p.band.push_back(b);
        p.type.push_back(start[b].type);
        const double v[3] = {std::log(start[b].frequency), std::log(start[b].q), start[b].gainDb};
        for (int c = 0; c < 3; ++c) p.value.push_back(std::clamp(v[c], bounds.lo[c], bounds.hi[c]));
    }
    p.level = m_problem.levelMode == LevelMode::Chosen;
    if (p.level) p.value.push_back(0.0);
    refine(p, 30);
    return resultOf(p);
}

namespace {

int nearestCode(double hz, SectionType type) {
    const ParameterLimits::Range r = frequencyRangeOf(type);
    int best = -1;
    for (int code = 0; code < FrequencyGridSize; ++code) {
        const int f = codeToFrequency(code);
        if (!r.contains(f)) continue;
        if (best < 0 || std::fabs(f - hz) < std::fabs(codeToFrequency(best) - hz)) best = code;
    }
    return best;
}

}  // namespace

GridBands roundedToGrid(const std::array<FreeBand, EqBandCount>& bands, const FitOptions& options) {
    GridBands out{};
    const int qMax = std::clamp(static_cast<int>(std::floor(2.0 * options.maxQ + 1e-9)), 1, 20);
    for (int b = 0; b < EqBandCount; ++b) {
        const FreeBand& f = bands[b];
        if (!f.used) continue;
        const int gain = std::clamp(static_cast<int>(std::lround(f.gainDb)),
                                    ParameterLimits::eqGain.lo, options.maxBoostDb);
        int q = 0;
        if (f.type == SectionType::Peaking) {
            q = std::clamp(static_cast<int>(std::lround(2.0 * f.q)), 1, qMax);
        } else {
            q = EqQCodeFirstShelf +
                std::clamp(static_cast<int>(std::lround((f.q - 0.3) / 0.2)), 0, 2);
        }
        out[b] = {nearestCode(f.frequency, f.type), q, gain};
    }
    return out;
}

FreeBand freeBandOf(const GridBand& band, int e) {
    if (band.gain == 0) return {};
    const AnalogSection s = eqBandSection(eqBandOf(band), e);
    return {true, s.type, s.frequency, s.q, s.gainDb};
}
