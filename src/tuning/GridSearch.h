#pragma once
// The search on the device's grid (see EqFit.cpp for why it is built this
// way). Internal to the tuning layer.

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "tuning/FitProblem.h"

// A band as the device holds it: frequency grid code, Q code, whole-dB gain.
// Gain 0 is "off": the band then changes nothing.
struct GridBand {
    int code = 0;
    int q = 2;
    int gain = 0;
    friend bool operator==(const GridBand&, const GridBand&) = default;
};
using GridBands = std::array<GridBand, EqBandCount>;

// The band shapes a band can take: peaking (Q codes 1..20) on every band,
// the low shelf on EQ5, the high shelf on EQ6.
enum class BandShape { Peaking, LowShelf, HighShelf };

BandShape shapeOf(int band, int q);
EqBand eqBandOf(const GridBand& band);
// The band as a grid band, if it lies on the grid; gain kept as it is.
bool gridBandOf(const EqBand& eq, GridBand& out);

// The band's dB curves on the fit's points, computed when first asked for
// and kept for the rest of the fit.
class BandCurves {
public:
    // `weight`: which points the score counts, for the sums kept with each curve.
    explicit BandCurves(const FitCurve& weight);
    const double* curve(int band, const GridBand& b);
    // The weighted sum of the curve and of its square (what ranking a
    // curve against a residual needs besides the product).
    std::pair<double, double> sums(int band, const GridBand& b);

private:
    int slotOf(int band, const GridBand& b);

    const FitCurve& m_weight;
    std::vector<int> m_slot;  // per (shape, code, q, gain): curve number, -1 when not yet computed
    std::vector<std::unique_ptr<double[]>> m_blocks;
    std::vector<std::pair<double, double>> m_sums;
    int m_count = 0;
};

class GridSearch {
public:
    // `channel` supplies the bands kept; `options` the limits.
    GridSearch(const FitProblem& problem, const FitOptions& options, const ChannelRecord& channel,
               const std::atomic<bool>* cancel);

    // The bands the fit may set.
    bool isFree(int band) const { return !m_options.keep[band]; }
    // Whether every free band keeps to the options (grid, ranges, limits).
    bool withinOptions(const GridBands& bands) const;

    // From `start`: each free band that is off is placed where it helps most
    // (one after the other), then the bands are moved until no single move
    // helps. `coarse`: a quicker, rougher search (the preview).
    GridBands insertAndImprove(GridBands start, bool coarse);
    // From `start`, moves only.
    GridBands improve(GridBands start);

    // `bands` with boosts lowered a dB at a time (the largest first) until
    // the total boost keeps to its limit.
    GridBands withinBoostLimit(GridBands bands);

    // The score of the bands from the band curves (a sum in dB; the exact
    // curve differs by rounding only), or infinity where the total boost is
    // above the limit.
    double meanSquare(const GridBands& bands);

    bool cancelled() const;

private:
    struct Rest;
    struct Trial {
        double meanSquare;
        GridBand band;
    };

    Rest restWithout(const GridBands& bands, int b);
    double evaluate(const Rest& rest, const double* curve) const;
    Trial gainWalk(const Rest& rest, int b, int code, int q, int startGain);
    Trial bestNear(const Rest& rest, int b, const GridBand& at, int codeSpan, int qSpan);
    // Anywhere in the band's range; `only`: of that shape alone.
    Trial bestAnywhere(const Rest& rest, int b, bool coarse,
                       std::optional<BandShape> only = std::nullopt);
    bool descend(GridBands& bands, double& score, int codeSpan);
    bool relocate(GridBands& bands, double& score);
    bool reshape(GridBands& bands, double& score);
    void insertOff(GridBands& bands, double& score, bool coarse);
    bool movePairs(GridBands& bands, double& score);
    bool stepAllowed(int b, const GridBand& from, const GridBand& to) const;

    const FitProblem& m_problem;
    const FitOptions& m_options;
    const std::atomic<bool>* m_cancel;
    BandCurves m_curves;
    FitCurve m_keptEq{};  // the sum of the kept bands
    int m_qMax;
};
