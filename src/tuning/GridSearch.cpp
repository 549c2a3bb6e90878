#include "tuning/GridSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/EqResponse.h"
#include "response/GridCurves.h"

namespace {

constexpr double Infinite = std::numeric_limits<double>::infinity();
// A move must lower the mean square by more than this: differences below it
// are rounding, and taking them would make the result depend on the last
// bits of the platform's logarithm.
constexpr double Improvement = 1e-12;
constexpr int ShapeCount = 3;
constexpr int QSlots = EqQCodeLast + 1;
constexpr int GainSlots = 19;  // -12..6
constexpr int CurvesPerBlock = 256;

struct CodeRange {
    int lo;
    int hi;
};

CodeRange codesOf(BandShape shape) {
    const ParameterLimits::Range r = shape == BandShape::Peaking ? ParameterLimits::eqFrequency
                                     : shape == BandShape::LowShelf
                                         ? ParameterLimits::lowShelfFrequency
                                         : ParameterLimits::highShelfFrequency;
    int lo = frequencyToCode(r.lo);
    if (codeToFrequency(lo) < r.lo) ++lo;
    return {lo, frequencyToCode(r.hi)};
}

const double* zeroCurve() {
    static const FitCurve zeros{};
    return zeros.data();
}

bool better(double a, double b) {
    return a < b - Improvement;
}

// Sum of a[i] * b[i] over the fit's points, in four running sums (the same
// order on every machine, and four times the throughput of one).
double dot(const double* a, const double* b) {
    double s[4] = {0.0, 0.0, 0.0, 0.0};
    int i = 0;
    for (; i + 4 <= FitPointCount; i += 4) {
        for (int k = 0; k < 4; ++k) s[k] += a[i + k] * b[i + k];
    }
    for (; i < FitPointCount; ++i) s[0] += a[i] * b[i];
    return (s[0] + s[1]) + (s[2] + s[3]);
}

}  // namespace

BandShape shapeOf(int band, int q) {
    if (q <= 20) return BandShape::Peaking;
    return band == HighShelfBand ? BandShape::HighShelf : BandShape::LowShelf;
}

EqBand eqBandOf(const GridBand& band) {
    return {codeToFrequency(band.code), band.q, band.gain};
}

bool gridBandOf(const EqBand& eq, GridBand& out) {
    const int code = frequencyToCode(eq.frequency);
    if (code < 0 || code >= FrequencyGridSize || codeToFrequency(code) != eq.frequency)
        return false;
    out = {code, eq.q, eq.level};
    return true;
}

BandCurves::BandCurves(const FitCurve& weight)
    : m_weight(weight),
      m_slot(static_cast<std::size_t>(ShapeCount) * FrequencyGridSize * QSlots * GainSlots, -1) {}

int BandCurves::slotOf(int band, const GridBand& b) {
    const int shape = static_cast<int>(shapeOf(band, b.q));
    const std::size_t index =
        ((static_cast<std::size_t>(shape) * FrequencyGridSize + b.code) * QSlots + b.q) *
            GainSlots +
        static_cast<std::size_t>(b.gain + 12);
    int& slot = m_slot[index];
    if (slot < 0) {
        if (m_count % CurvesPerBlock == 0) {
            m_blocks.push_back(
                std::make_unique_for_overwrite<double[]>(CurvesPerBlock * FitPointCount));
        }
        slot = m_count++;
        double* out = m_blocks.back().get() + (slot % CurvesPerBlock) * FitPointCount;
        eqBandDbCurve(eqBandOf(b), band, FitFirstPoint, FitPointCount, out);
        double s = 0.0;
        double ss = 0.0;
        for (int i = 0; i < FitPointCount; ++i) {
            s += m_weight[i] * out[i];
            ss += m_weight[i] * out[i] * out[i];
        }
        m_sums.emplace_back(s, ss);
    }
    return slot;
}

const double* BandCurves::curve(int band, const GridBand& b) {
    if (b.gain == 0) return zeroCurve();
    const int slot = slotOf(band, b);
    return m_blocks[static_cast<std::size_t>(slot / CurvesPerBlock)].get() +
           (slot % CurvesPerBlock) * FitPointCount;
}

std::pair<double, double> BandCurves::sums(int band, const GridBand& b) {
    if (b.gain == 0) return {0.0, 0.0};
    return m_sums[static_cast<std::size_t>(slotOf(band, b))];
}

// What the other bands leave for one band: the residual without it, the
// other bands' sum (for the boost limit) and the residual's mean.
struct GridSearch::Rest {
    FitCurve value{};
    FitCurve eq{};
    double mean = 0.0;
};

GridSearch::GridSearch(const FitProblem& problem, const FitOptions& options,
                       const ChannelRecord& channel, const std::atomic<bool>* cancel)
    : m_problem(problem),
      m_options(options),
      m_cancel(cancel),
      m_curves(problem.weight),
      m_qMax(std::clamp(static_cast<int>(std::floor(2.0 * options.maxQ + 1e-9)), 1, 20)) {
    // A kept band need not lie on the grid: its curve comes from its own values.
    FitCurve curve{};
    for (int e = 0; e < EqBandCount; ++e) {
        if (isFree(e)) continue;
        eqBandDbCurve(channel.eq[e], e, FitFirstPoint, FitPointCount, curve.data());
        for (int i = 0; i < FitPointCount; ++i) m_keptEq[i] += curve[i];
    }
}

bool GridSearch::cancelled() const {
    return m_cancel != nullptr && m_cancel->load(std::memory_order_relaxed);
}

GridSearch::Rest GridSearch::restWithout(const GridBands& bands, int b) {
    Rest rest;
    rest.eq = m_keptEq;
    for (int e = 0; e < EqBandCount; ++e) {
        if (e == b || !isFree(e) || bands[e].gain == 0) continue;
        const double* c = m_curves.curve(e, bands[e]);
        for (int i = 0; i < FitPointCount; ++i) rest.eq[i] += c[i];
    }
    double sum = 0.0;
    for (int i = 0; i < FitPointCount; ++i) {
        rest.value[i] = m_problem.base[i] + rest.eq[i];
        sum += m_problem.weight[i] * rest.value[i];
    }
    rest.mean = sum / m_problem.count;
    return rest;
}

double GridSearch::evaluate(const Rest& rest, const double* curve) const {
    double s1 = 0.0;
    double s2 = 0.0;
    double top = -Infinite;
    for (int i = 0; i < FitPointCount; ++i) {
        const double v = rest.value[i] + curve[i];
        const double w = m_problem.weight[i];
        s1 += w * v;
        s2 += w * v * v;
        top = std::max(top, rest.eq[i] + curve[i]);
    }
    if (top > m_problem.boostLimit + 1e-9) return Infinite;
    return scoreSums(m_problem, s1, s2).meanSquare;
}

GridSearch::Trial GridSearch::gainWalk(const Rest& rest, int b, int code, int q, int start) {
    const int lo = ParameterLimits::eqGain.lo;
    const int hi = m_options.maxBoostDb;
    const auto at = [&](int g) { return evaluate(rest, m_curves.curve(b, GridBand{code, q, g})); };
    int bestGain = std::clamp(start, lo, hi);
    double best = at(bestGain);
    for (const int dir : {+1, -1}) {
        bool moved = false;
        for (int g = bestGain + dir; g >= lo && g <= hi; g += dir) {
            const double s = at(g);
            if (!better(s, best)) break;
            best = s;
            bestGain = g;
            moved = true;
        }
        if (moved) break;
    }
    return {best, {code, q, bestGain}};
}

GridSearch::Trial GridSearch::bestNear(const Rest& rest, int b, const GridBand& at, int codeSpan,
                                       int qSpan) {
    const BandShape shape = shapeOf(b, at.q);
    const CodeRange codes = codesOf(shape);
    const int qLo = shape == BandShape::Peaking ? 1 : EqQCodeFirstShelf;
    const int qHi = shape == BandShape::Peaking ? m_qMax : EqQCodeLast;
    Trial best{Infinite, at};
    for (int code = std::max(codes.lo, at.code - codeSpan);
         code <= std::min(codes.hi, at.code + codeSpan); ++code) {
        for (int q = std::max(qLo, at.q - qSpan); q <= std::min(qHi, at.q + qSpan); ++q) {
            const Trial t = gainWalk(rest, b, code, q, at.gain);
            if (better(t.meanSquare, best.meanSquare)) best = t;
        }
    }
    return best;
}

// Anywhere in the band's range: every third frequency and the usual Q codes
// are ranked by how much a band of that shape could lower the residual
// (its cut and boost curves scaled by least squares, a few additions each);
// the best few are then scored exactly, the gain walked from the scale found.
GridSearch::Trial GridSearch::bestAnywhere(const Rest& rest, int b, bool coarse,
                                           std::optional<BandShape> only) {
    std::vector<BandShape> shapes{BandShape::Peaking};
    if (m_options.shelves == ShelfUse::IfHelpful && b == 4) shapes.push_back(BandShape::LowShelf);
    if (m_options.shelves == ShelfUse::IfHelpful && b == HighShelfBand) {
        shapes.push_back(BandShape::HighShelf);
    }
    if (only) std::erase_if(shapes, [&](BandShape s) { return s != *only; });
    static constexpr int PeakingQs[] = {1, 2, 4, 7, 12, 20};
    static constexpr int CoarsePeakingQs[] = {2, 4, 8};
    static constexpr int ShelfQs[] = {21, 22, 23};
    static constexpr int CoarseShelfQs[] = {22};
    constexpr int CutReference = -6;
    const int boostReference = m_options.maxBoostDb;
    const int step = coarse ? 6 : 3;
    const int chosen = coarse ? 3 : 8;

    const FitCurve& w = m_problem.weight;
    const double n = m_problem.count;
    double sumR = 0.0;
    FitCurve weighted;
    for (int i = 0; i < FitPointCount; ++i) {
        weighted[i] = w[i] * rest.value[i];
        sumR += weighted[i];
    }

    struct Lead {
        double gain;
        double gainDb;
        int code;
        int q;
    };
    std::vector<Lead> leads;
    for (const BandShape shape : shapes) {
        const CodeRange codes = codesOf(shape);
        std::vector<int> qs;
        if (shape == BandShape::Peaking) {
            for (const int q :
                 coarse ? std::vector<int>(std::begin(CoarsePeakingQs), std::end(CoarsePeakingQs))
                        : std::vector<int>(std::begin(PeakingQs), std::end(PeakingQs))) {
                if (q <= m_qMax) qs.push_back(q);
            }
            if (qs.empty()) qs.push_back(m_qMax);
        } else {
            qs = coarse ? std::vector<int>(std::begin(CoarseShelfQs), std::end(CoarseShelfQs))
                        : std::vector<int>(std::begin(ShelfQs), std::end(ShelfQs));
        }
        for (int code = codes.lo; code <= codes.hi;
             code = code == codes.hi ? code + 1 : std::min(code + step, codes.hi)) {
            if (cancelled()) return {Infinite, GridBand{0, 2, 0}};
            for (const int q : qs) {
                for (const int reference : {CutReference, boostReference}) {
                    if (reference == 0) continue;
                    const GridBand at{code, q, reference};
                    const double* s = m_curves.curve(b, at);
                    const auto [sumS, sumSS] = m_curves.sums(b, at);
                    const double sumRS = dot(weighted.data(), s);
                    const double rs = sumRS - sumR * sumS / n;
                    const double ss = sumSS - sumS * sumS / n;
                    if (!(ss > 0.0)) continue;
                    double scale = -rs / ss;  // > 0: this curve's direction helps
                    // A boost only as far as the total boost allows.
                    for (int i = 0; i < FitPointCount && reference > 0; ++i) {
                        if (s[i] > 0.0) {
                            scale = std::min(scale, (m_problem.boostLimit - rest.eq[i]) / s[i]);
                        }
                    }
                    if (!(scale > 0.0)) continue;
                    const double gain = -(2.0 * scale * rs + scale * scale * ss);
                    leads.push_back({gain, scale * reference, code, q});
                }
            }
        }
    }
    // The most promising first; equals keep the order they were found in.
    std::stable_sort(leads.begin(), leads.end(),
                     [](const Lead& a, const Lead& b) { return a.gain > b.gain; });
    Trial best{evaluate(rest, zeroCurve()), GridBand{0, 2, 0}};
    for (std::size_t k = 0; k < leads.size() && k < static_cast<std::size_t>(chosen); ++k) {
        const Lead& l = leads[k];
        const Trial t = gainWalk(rest, b, l.code, l.q, static_cast<int>(std::lround(l.gainDb)));
        if (better(t.meanSquare, best.meanSquare)) best = t;
    }
    return best;
}

bool GridSearch::descend(GridBands& bands, double& score, int codeSpan) {
    bool changed = false;
    for (int round = 0; round < 40 && !cancelled(); ++round) {
        bool improved = false;
        for (int b = 0; b < EqBandCount; ++b) {
            if (!isFree(b) || bands[b].gain == 0) continue;
            const Rest rest = restWithout(bands, b);
            const Trial t = bestNear(rest, b, bands[b], codeSpan, 2);
            if (better(t.meanSquare, score)) {
                bands[b] = t.band;
                score = t.meanSquare;
                improved = changed = true;
            }
        }
        if (!improved) break;
    }
    return changed;
}

bool GridSearch::relocate(GridBands& bands, double& score) {
    bool changed = false;
    for (int b = 0; b < EqBandCount && !cancelled(); ++b) {
        if (!isFree(b)) continue;
        const Rest rest = restWithout(bands, b);
        Trial t = bestAnywhere(rest, b, false);
        if (t.band.gain != 0) {
            const Trial near = bestNear(rest, b, t.band, 2, 1);
            if (better(near.meanSquare, t.meanSquare)) t = near;
        }
        if (better(t.meanSquare, score)) {
            bands[b] = t.band;
            score = t.meanSquare;
            changed = true;
        }
    }
    return changed;
}

// Two bands moved together, each a step in frequency, Q or gain: where two
// bands share the work, neither can move alone without making it worse.
bool GridSearch::movePairs(GridBands& bands, double& score) {
    bool changed = false;
    FitCurve pair{};
    for (int b1 = 0; b1 < EqBandCount && !cancelled(); ++b1) {
        for (int b2 = b1 + 1; b2 < EqBandCount; ++b2) {
            if (!isFree(b1) || !isFree(b2) || bands[b1].gain == 0 || bands[b2].gain == 0) continue;
            GridBands without = bands;
            without[b2].gain = 0;
            const Rest rest = restWithout(without, b1);
            GridBand best1 = bands[b1];
            GridBand best2 = bands[b2];
            double bestScore = score;
            static constexpr int Steps[][3] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                               {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
            for (const auto& s1 : Steps) {
                const GridBand c1{bands[b1].code + s1[0], bands[b1].q + s1[1],
                                  bands[b1].gain + s1[2]};
                if (!stepAllowed(b1, bands[b1], c1)) continue;
                const double* t1 = m_curves.curve(b1, c1);
                for (const auto& s2 : Steps) {
                    const GridBand c2{bands[b2].code + s2[0], bands[b2].q + s2[1],
                                      bands[b2].gain + s2[2]};
                    if (!stepAllowed(b2, bands[b2], c2)) continue;
                    const double* t2 = m_curves.curve(b2, c2);
                    for (int i = 0; i < FitPointCount; ++i) pair[i] = t1[i] + t2[i];
                    const double v = evaluate(rest, pair.data());
                    if (better(v, bestScore)) {
                        bestScore = v;
                        best1 = c1;
                        best2 = c2;
                    }
                }
            }
            if (better(bestScore, score)) {
                bands[b1] = best1;
                bands[b2] = best2;
                score = bestScore;
                changed = true;
            }
        }
    }
    return changed;
}

// Whether `to`, a step from `from`, keeps the band's shape and limits.
bool GridSearch::stepAllowed(int b, const GridBand& from, const GridBand& to) const {
    const BandShape shape = shapeOf(b, from.q);
    if (shapeOf(b, to.q) != shape) return false;
    const CodeRange codes = codesOf(shape);
    const int qLo = shape == BandShape::Peaking ? 1 : EqQCodeFirstShelf;
    const int qHi = shape == BandShape::Peaking ? m_qMax : EqQCodeLast;
    return to.code >= codes.lo && to.code <= codes.hi && to.q >= qLo && to.q <= qHi &&
           to.gain >= ParameterLimits::eqGain.lo && to.gain <= m_options.maxBoostDb && to.gain != 0;
}

// EQ5 and EQ6 tried in the other shape (a shelf for a peaking band and the
// other way round), the other bands then moved to suit it: a shelf found
// late competes with peaking bands that earlier imitated it, and no single
// move lets it win.
bool GridSearch::reshape(GridBands& bands, double& score) {
    bool changed = false;
    for (const int b : {4, HighShelfBand}) {
        if (!isFree(b) || m_options.shelves != ShelfUse::IfHelpful || cancelled()) continue;
        const BandShape now = bands[b].gain == 0 ? BandShape::Peaking : shapeOf(b, bands[b].q);
        const BandShape other = now != BandShape::Peaking ? BandShape::Peaking
                                : b == 4                  ? BandShape::LowShelf
                                                          : BandShape::HighShelf;
        // A peaking band that held the place moves to a band that is off,
        // so the shelf is chosen with its work still done.
        GridBands trial = bands;
        if (now == BandShape::Peaking && bands[b].gain != 0) {
            for (int o = 0; o < EqBandCount; ++o) {
                if (o != 4 && o != HighShelfBand && isFree(o) && trial[o].gain == 0) {
                    trial[o] = bands[b];
                    break;
                }
            }
        }
        const Rest rest = restWithout(trial, b);
        Trial t = bestAnywhere(rest, b, false, other);
        if (t.band.gain == 0) continue;
        const Trial near = bestNear(rest, b, t.band, 2, 1);
        if (better(near.meanSquare, t.meanSquare)) t = near;
        trial[b] = t.band;
        double trialScore = t.meanSquare;
        descend(trial, trialScore, 4);
        insertOff(trial, trialScore, false);
        descend(trial, trialScore, 4);
        if (better(trialScore, score)) {
            bands = trial;
            score = trialScore;
            changed = true;
        }
    }
    return changed;
}

double GridSearch::meanSquare(const GridBands& bands) {
    Rest rest = restWithout(bands, -1);
    return evaluate(rest, zeroCurve());
}

GridBands GridSearch::withinBoostLimit(GridBands bands) {
    while (!(meanSquare(bands) < Infinite)) {
        int largest = -1;
        for (int b = 0; b < EqBandCount; ++b) {
            if (isFree(b) && bands[b].gain > 0 &&
                (largest < 0 || bands[b].gain > bands[largest].gain)) {
                largest = b;
            }
        }
        if (largest < 0) break;
        --bands[largest].gain;
    }
    return bands;
}

bool GridSearch::withinOptions(const GridBands& bands) const {
    for (int b = 0; b < EqBandCount; ++b) {
        const GridBand& g = bands[b];
        if (!isFree(b) || g.gain == 0) continue;
        const BandShape shape = shapeOf(b, g.q);
        if (shape == BandShape::Peaking) {
            if (g.q < 1 || g.q > m_qMax) return false;
        } else if (m_options.shelves == ShelfUse::Never || g.q > EqQCodeLast ||
                   (shape == BandShape::LowShelf && b != 4)) {
            return false;
        }
        const CodeRange codes = codesOf(shape);
        if (g.code < codes.lo || g.code > codes.hi) return false;
        if (g.gain < ParameterLimits::eqGain.lo || g.gain > m_options.maxBoostDb) return false;
    }
    return true;
}

// Each free band that is off goes where it helps most, one after the other.
void GridSearch::insertOff(GridBands& bands, double& score, bool coarse) {
    // The bands that can shelve go first: a shelf takes a broad trend that
    // peaking bands placed before it would only imitate.
    const bool shelvesFirst = m_options.shelves == ShelfUse::IfHelpful;
    static constexpr int ShelvesFirst[EqBandCount] = {4, 5, 0, 1, 2, 3};
    for (int k = 0; k < EqBandCount && !cancelled(); ++k) {
        const int b = shelvesFirst ? ShelvesFirst[k] : k;
        if (!isFree(b) || bands[b].gain != 0) continue;
        const Rest rest = restWithout(bands, b);
        Trial t = bestAnywhere(rest, b, coarse);
        if (!coarse && t.band.gain != 0) {
            const Trial near = bestNear(rest, b, t.band, 2, 1);
            if (better(near.meanSquare, t.meanSquare)) t = near;
        }
        if (better(t.meanSquare, score)) {
            bands[b] = t.band;
            score = t.meanSquare;
        }
    }
}

GridBands GridSearch::insertAndImprove(GridBands bands, bool coarse) {
    double score = meanSquare(bands);
    if (!withinOptions(bands) || !(score < Infinite)) {
        for (int b = 0; b < EqBandCount; ++b) {
            if (isFree(b)) bands[b].gain = 0;
        }
        score = meanSquare(bands);
    }
    insertOff(bands, score, coarse);
    descend(bands, score, coarse ? 2 : 4);
    for (int round = 0; !coarse && round < 3 && !cancelled(); ++round) {
        const bool moved = relocate(bands, score);
        if (moved) descend(bands, score, 4);
        if (!reshape(bands, score) && !moved) break;
    }
    for (int pass = 0; !coarse && pass < 3 && !cancelled() && movePairs(bands, score); ++pass) {
        descend(bands, score, 4);
    }
    return bands;
}

GridBands GridSearch::improve(GridBands bands) {
    double score = meanSquare(bands);
    if (!(score < Infinite)) return bands;
    descend(bands, score, 4);
    if (!cancelled() && relocate(bands, score)) descend(bands, score, 4);
    for (int pass = 0; pass < 3 && !cancelled() && movePairs(bands, score); ++pass) {
        descend(bands, score, 4);
    }
    return bands;
}
