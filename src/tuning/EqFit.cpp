// How the fit searches, and why.
//
// The device knows 180 equaliser frequencies, 20 peaking Q codes (3 shelving
// ones on EQ5 and EQ6) and 19 whole-dB gains: about 70 000 settings for one
// band, far too many combinations for six bands to try them all, but few
// enough that the curve of every setting the search looks at can be taken
// from the model itself. So:
//
// 1. Band curves are tables. Each setting a band can have is evaluated once,
//    on the plot's grid points from 20 Hz to 20 kHz, with the model's own
//    formula (GridCurves), and kept for the rest of the fit; a channel is
//    then a sum of six tables, and scoring a candidate costs a few hundred
//    additions. Only the settings the search visits are computed (a few
//    thousand, not 70 000 per band).
// 2. Greedy insertion: with the free bands off, each in turn (EQ5 and EQ6
//    first where they may shelve: a shelf takes a broad trend that peaking
//    bands placed before it would only imitate) goes where it lowers the
//    score most. Every third frequency of the band's range and six Q codes
//    are ranked by how much the band's cut and boost curves, scaled by least
//    squares, could take from the residual (a few additions each, with the
//    sums kept beside each curve; a boost only as far as the total boost
//    allows); the best eight are then scored exactly, the gain walked from
//    the scale found, and the winner's neighbourhood searched.
// 3. Local exchange: band by band, every frequency within four grid steps,
//    every Q code within two and the gain walked up and down from the
//    current one, until no single band can improve; then each band is taken
//    out and placed anew anywhere (the ranked comb again), and EQ5 and EQ6
//    are tried in their other shape with the other bands moved to suit; each
//    repeated while it helps. Last, every two bands are moved together a
//    step each (frequency, Q or gain), for bands that share the work and
//    cannot move alone. These get bands out of spots an earlier band's
//    placement forced on them.
// 4. Several starts: from no equaliser (2.), from the free fit rounded to
//    the grid value by value and brought within the total boost limit (3.
//    only; so the result can never be worse than that obvious method), and
//    from the channel's own bands if they keep to the options.
//    The best is chosen by the exact curve of the channel as the plot draws
//    it, together with "no equaliser" and the channel as it was, so the fit
//    never makes anything worse.
// 5. The free fit (FreeFit) runs before the grid search, for the rounded
//    start and for the honest figure of what the grid costs; it is refined
//    once more from the grid's result, so the free figure is never worse
//    than the grid's.
//
// Everything runs in one thread in a fixed order; a candidate replaces the
// best only when it is better by more than rounding, and ties keep the
// first found, so equal input gives equal bands.
//
// The preview (FitEffort::Preview) does 2. on a coarser comb and 3. within
// two steps, from the bands it is given when they keep to the options; it
// skips the free fit. It is meant to answer within tens of milliseconds
// while the options change; the full fit follows.

#include "tuning/EqFit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/ChannelResponse.h"
#include "tuning/FitProblem.h"
#include "tuning/FreeFit.h"
#include "tuning/GridSearch.h"

namespace {

// The values of a band at index e that the fit leaves off: its own when the
// panel could set them on the grid, the defaults of a new file otherwise.
EqBand offBand(const EqBand& original, int e) {
    static constexpr int DefaultFrequencies[EqBandCount] = {40, 80, 160, 400, 2000, 6000};
    GridBand g;
    if (panelBand(original, e) && gridBandOf(original, g))
        return {original.frequency, original.q, 0};
    return {DefaultFrequencies[e], 2, 0};
}

ChannelRecord recordOf(const ChannelRecord& channel, const GridBands& bands,
                       const FitOptions& options) {
    ChannelRecord out = channel;
    for (int e = 0; e < EqBandCount; ++e) {
        if (options.keep[e]) continue;
        out.eq[e] = bands[e].gain == 0 ? offBand(channel.eq[e], e) : eqBandOf(bands[e]);
    }
    return out;
}

// The channel's free bands as grid bands, when they lie on the grid.
std::optional<GridBands> gridBandsOf(const std::array<EqBand, EqBandCount>& eq,
                                     const FitOptions& options) {
    GridBands out{};
    for (int e = 0; e < EqBandCount; ++e) {
        if (options.keep[e] || eq[e].level == 0) continue;
        if (!panelBand(eq[e], e) || !gridBandOf(eq[e], out[e])) return std::nullopt;
    }
    return out;
}

struct Progress {
    const FitProgress& hooks;
    void operator()(double fraction) const {
        if (hooks.report) hooks.report(fraction);
    }
    bool cancelled() const { return hooks.cancel && hooks.cancel->load(std::memory_order_relaxed); }
};

}  // namespace

FitResult fitChannel(const FitInput& input, const FitProgress& hooks) {
    FitResult result;
    result.channel = input.channel;
    const ProblemBuild build = buildProblem(input);
    if (!build.ok) {
        result.message = build.error;
        return result;
    }
    const FitProblem& problem = build.problem;
    const FitOptions& options = input.options;
    const Progress progress{hooks};
    const auto cancelled = [&]() {
        result.status = FitStatus::Cancelled;
        result.channel = input.channel;
        return result;
    };
    result.range = problem.range;
    result.dipsLeftAlone = problem.dips;
    const ExactScore before = exactScore(problem, input.channel);
    result.errorBeforeDb = before.rmsDb;
    progress(0.0);

    GridSearch grid(problem, options, input.channel, hooks.cancel);
    FreeFitter free(problem, options, input.channel, hooks.cancel);
    GridBands none{};
    const std::optional<GridBands> own = gridBandsOf(input.channel.eq, options);
    std::vector<GridBands> candidates{none};
    if (own && grid.withinOptions(*own)) candidates.push_back(*own);

    FreeFitResult freeFit;
    if (options.effort == FitEffort::Preview) {
        GridBands start = none;
        if (input.start) {
            if (auto given = gridBandsOf(*input.start, options);
                given && grid.withinOptions(*given)) {
                start = *given;
            }
        }
        candidates.push_back(grid.insertAndImprove(start, true));
    } else {
        freeFit = free.fit();
        if (free.cancelled()) return cancelled();
        progress(0.35);
        // Rounded value by value, and brought within the total boost limit
        // (rounding can push stacked boosts over it).
        const GridBands rounded = grid.withinBoostLimit(roundedToGrid(freeFit.bands, options));
        result.errorRoundedDb =
            exactScore(problem, recordOf(input.channel, rounded, options)).rmsDb;
        candidates.push_back(grid.insertAndImprove(none, false));
        progress(0.7);
        candidates.push_back(grid.improve(rounded));
        if (own && grid.withinOptions(*own)) candidates.push_back(grid.improve(*own));
        progress(0.9);
    }
    if (grid.cancelled() || progress.cancelled()) return cancelled();

    // The best by the exact curve; the first of equals (no equaliser first).
    const GridBands* best = nullptr;
    ExactScore bestScore;
    for (const GridBands& c : candidates) {
        if (!grid.withinOptions(c) ||
            !(grid.meanSquare(c) < std::numeric_limits<double>::infinity())) {
            continue;
        }
        const ExactScore s = exactScore(problem, recordOf(input.channel, c, options));
        if (best == nullptr || s.rmsDb < bestScore.rmsDb - 1e-9) {
            best = &c;
            bestScore = s;
        }
    }
    ChannelRecord fitted = recordOf(input.channel, best ? *best : none, options);
    if (!best || bestScore.rmsDb > before.rmsDb + 1e-9) {
        // The channel as it was is better than anything on the grid within
        // the options (its bands lie off the grid or outside the limits).
        fitted = input.channel;
        bestScore = before;
    }

    // The level: chosen with the bands for a fixed target level; with a free
    // target level it keeps the channel as loud against the target as before.
    if (problem.levelMode == LevelMode::Chosen) {
        fitted.level = bestScore.level;
    } else if (problem.levelMode == LevelMode::Free && options.useLevel &&
               !(fitted == input.channel)) {
        const double change = before.meanResidualDb - bestScore.meanResidualDb;
        fitted.level = ParameterLimits::level.clamp(
            ParameterLimits::level.clamp(input.channel.level) +
            static_cast<int>(std::lround(std::clamp(change, -12.0, 12.0))));
    }
    const ExactScore after = exactScore(problem, fitted);
    result.channel = fitted;
    result.errorAfterDb = after.rmsDb;
    result.targetLevelDb = problem.levelMode == LevelMode::Free
                               ? after.targetLevelDb
                               : input.target.levelDb.value_or(0.0);

    if (options.effort == FitEffort::Full) {
        std::array<FreeBand, EqBandCount> start{};
        GridBand g;
        for (int e = 0; e < EqBandCount; ++e) {
            if (!options.keep[e] && gridBandOf(fitted.eq[e], g)) start[e] = freeBandOf(g, e);
        }
        const FreeFitResult polished = free.polish(start);
        if (free.cancelled()) return cancelled();
        const FreeFitResult& better = polished.meanSquare < freeFit.meanSquare ? polished : freeFit;
        result.freeBands = better.bands;
        result.errorFreeDb = std::sqrt(better.meanSquare);
    }

    // What the plot shows: the target at its level and the prediction.
    ChannelResponse response;
    computeChannelResponse(fitted, response);
    for (int i = 0; i < FitPointCount; ++i) {
        if (problem.hz[i] < problem.range.loHz || problem.hz[i] > problem.range.hiHz) continue;
        result.hz.push_back(problem.hz[i]);
        result.targetDb.push_back(
            problem.target[i] + (problem.levelMode == LevelMode::Free ? after.targetLevelDb : 0.0));
        result.predictedDb.push_back(problem.evidence[i] + response.db[FitFirstPoint + i]);
    }
    progress(1.0);
    result.status = FitStatus::Ok;
    return result;
}
