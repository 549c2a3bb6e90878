#pragma once
// The free fit: the same bands with frequency, Q and gain free within the
// same bounds (Levenberg-Marquardt on the model's own section curves). It
// says what the grid costs, and rounding it value by value is the obvious
// method the grid search is measured against. Internal to the tuning layer.

#include <array>
#include <atomic>
#include <vector>

#include "tuning/FitProblem.h"
#include "tuning/GridSearch.h"

struct FreeFitResult {
    std::array<FreeBand, EqBandCount> bands{};
    double meanSquare = 0.0;
};

class FreeFitter {
public:
    FreeFitter(const FitProblem& problem, const FitOptions& options, const ChannelRecord& channel,
               const std::atomic<bool>* cancel);

    // Bands placed one after the other where the residual is largest, all
    // refined together after each; then the shelves tried on EQ5 and EQ6.
    FreeFitResult fit();
    // Refined from `start` (e.g. the grid's result as free values).
    FreeFitResult polish(const std::array<FreeBand, EqBandCount>& start);

    bool cancelled() const;

private:
    struct Parameters;
    double costOf(const std::vector<FitCurve>& curves, double level, std::vector<double>* residual,
                  double* meanSquare) const;
    std::vector<FitCurve> curvesOf(const Parameters& p) const;
    double levelOf(const Parameters& p) const;
    double cost(const Parameters& p, std::vector<double>* residual, double* meanSquare) const;
    // Levenberg-Marquardt on the values from index `first` on.
    void refine(Parameters& p, int iterations, int first = 0) const;
    FreeFitResult resultOf(const Parameters& p) const;

    const FitProblem& m_problem;
    const FitOptions& m_options;
    const std::atomic<bool>* m_cancel;
    FitCurve m_keptEq{};
};

// Each value of the free fit rounded to the nearest the device has, within
// the options (the obvious method).
GridBands roundedToGrid(const std::array<FreeBand, EqBandCount>& bands, const FitOptions& options);

// A grid band as free values.
FreeBand freeBandOf(const GridBand& band, int e);
