#pragma once
// The frequencies on which the fits and the band choice compare curves: the
// response grid's points from 20 Hz to 20 kHz, 100 per decade. Every tenth
// of them (ten per decade) is the coarse grid: a candidate's largest
// difference there is a lower bound of its largest difference on the whole
// grid, so a fit can rank all candidates cheaply and look closely only at
// those that can still win.

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
    double maxDb() const {
        const double worst = highest * lowest > 1.0 ? highest : 1.0 / lowest;
        return 10.0 * std::log10(worst);
    }
};

// The power ratio that a difference of `db` amounts to.
inline double powerRatioOfDb(double db) {
    return std::pow(10.0, db / 10.0);
}
