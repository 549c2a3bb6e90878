#pragma once
// The fit as numbers: the plot's grid points from 20 Hz to 20 kHz, what the
// measurement and the channel's crossover contribute there, the target, which
// points the score counts, and how the score treats the level. Internal to
// the tuning layer.

#include <array>
#include <string>
#include <vector>

#include "model/ChannelRecord.h"
#include "tuning/EqFit.h"

// Grid point 100 is 20 Hz, point 400 is 20 kHz (ResponseGrid.h).
constexpr int FitFirstPoint = 100;
constexpr int FitPointCount = 301;
constexpr int FitPointsPerDecade = 100;
// A fit range narrower than this many points (a third of an octave) is
// refused: a handful of points cannot tell a band from the level.
constexpr int MinFitPoints = 10;

using FitCurve = std::array<double, FitPointCount>;

enum class LevelMode {
    Free,    // the target's level by least squares; the channel level plays no part
    Chosen,  // fixed target level; the channel level is searched (whole dB, -6..6)
    Kept,    // fixed target level; the channel level stays as it is
};

struct FitProblem {
    FitCurve hz{};
    FitCurve evidence{};   // measurement plus offset (0 where it has none)
    FitCurve crossover{};  // the channel's high-pass times low-pass, dB
    FitCurve target{};     // shape, crossover when followed, fixed level
    FitCurve base{};       // evidence + crossover - target
    FitCurve weight{};     // 1 where the score counts, else 0
    int count = 0;         // points that count
    LevelMode levelMode = LevelMode::Free;
    int keptLevel = 0;
    double boostLimit = 0.0;  // on the six bands' sum at every point
    FrequencyRange range;
    std::vector<FrequencyRange> dips;
};

struct ProblemBuild {
    bool ok = false;
    FitProblem problem;
    std::string error;  // German
};

ProblemBuild buildProblem(const FitInput& input);

// The score from the sums over the counted points of the residual r
// (prediction minus target, without level): s1 = sum r, s2 = sum r^2.
struct LevelScore {
    double meanSquare = 0.0;
    int level = 0;        // the channel level the score assumes (Chosen, Kept)
    double offset = 0.0;  // the target's level (Free: mean residual)
};
LevelScore scoreSums(const FitProblem& problem, double s1, double s2);

// A record scored with its exact curve (the plot's single-precision values),
// with the level the problem's mode gives it.
struct ExactScore {
    double rmsDb = 0.0;
    int level = 0;
    double targetLevelDb = 0.0;
    double meanResidualDb = 0.0;  // without the level: the channel's loudness against the target
};
ExactScore exactScore(const FitProblem& problem, const ChannelRecord& record);

// Whether `band` is one the panel could set on band `e` (ranges and Q codes).
bool panelBand(const EqBand& band, int e);
