#pragma once
// The frequencies on which the fits and the band choice compare curves: the
// response grid's points from 20 Hz to 20 kHz, 100 per decade. A fit looks
// at every tenth of them (ten per decade) first: against the best candidate
// so far, most candidates are out after a few points.

#include <array>
#include <cmath>

constexpr int FitPointCount = 301;
constexpr int FitCoarseStep = 10;

// 20 Hz .. 20 kHz; point j is 20 · 10^(j / 100) Hz.
const std::array<double, FitPointCount>& fitFrequencies();

// Power ratios |H1|² / |H2|² seen so far, and the largest difference in dB
// they amount to. Kept as ratios so that a candidate needs one logarithm,
// not one per point.
struct RatioSpread {
    double highest = 1.0;
    double lowest = 1.0;
    void add(double ratio) {
        if (ratio > highest) highest = ratio;
        if (ratio < lowest) lowest = ratio;
    }
    // True once the spread exceeds `boundRatio` (a power ratio >= 1).
    bool exceeds(double boundRatio) const {
        return highest > boundRatio || lowest * boundRatio < 1.0;
    }
    double worstRatio() const { return highest * lowest > 1.0 ? highest : 1.0 / lowest; }
    double maxDb() const { return 10.0 * std::log10(worstRatio()); }
};

// The index of the fit grid's point nearest to `hz` (the ends beyond).
inline int fitIndexOf(double hz) {
    const double j = hz > 0.0 ? 100.0 * std::log10(hz / 20.0) : 0.0;
    return j < 0.0 ? 0 : j > FitPointCount - 1 ? FitPointCount - 1 : static_cast<int>(j + 0.5);
}

// A candidate's largest power ratio (or its inverse, whichever is larger)
// against the target, from the ratios `ratioAt(j)` (candidate / target at
// point j). The coarse points come first, from the one nearest `start`
// (where the target changes most) outwards, then the rest: a poor candidate
// shows within a few points. Once the spread exceeds `boundRatio` (a better
// candidate's), what is returned is only known to exceed it. Kept as a
// ratio so that ranking candidates needs no logarithm.
template <typename RatioAt>
double boundedWorstRatio(RatioAt ratioAt, double boundRatio, int start = 0) {
    RatioSpread spread;
    const int centre = start / FitCoarseStep;
    const int coarseCount = (FitPointCount - 1) / FitCoarseStep + 1;
    for (int k = 0; k < 2 * coarseCount; ++k) {
        const int c = centre + (k % 2 ? (k + 1) / 2 : -(k / 2));
        if (c < 0 || c >= coarseCount) continue;
        spread.add(ratioAt(c * FitCoarseStep));
        if (spread.exceeds(boundRatio)) return spread.worstRatio();
    }
    for (int j = 0; j < FitPointCount; ++j) {
        if (j % FitCoarseStep == 0) continue;
        spread.add(ratioAt(j));
        if (spread.exceeds(boundRatio)) return spread.worstRatio();
    }
    return spread.worstRatio();
}

// The same as a difference in dB.
inline double dbOfRatio(double worstRatio) {
    return 10.0 * std::log10(worstRatio);
}
