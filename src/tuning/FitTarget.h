#pragma once
// What the fit aims at: a shape over frequency, by default laid over the
// channel's own crossover (the target times the channel's high- and low-pass
// as set), so that the equaliser corrects the loudspeaker and leaves the
// crossover's slopes alone. The target's level is found by the fit (least
// squares over the fit range) unless it is fixed.

#include <optional>
#include <string>

#include "interchange/Measurement.h"

enum class TargetShape {
    Flat,
    Tilt,   // tiltDbPerOctave, 0 dB at 1 kHz
    House,  // a rise below one corner and a fall above another
    Curve,  // a curve read from a file (frequency, dB), held at its ends
};

struct HouseCurve {
    double lowCornerHz = 200.0;
    double lowRiseDb = 0.0;  // reached at 20 Hz, linear in log frequency below the corner
    double highCornerHz = 2000.0;
    double highFallDb = 0.0;  // reached at 20 kHz, linear in log frequency above the corner
};

struct FitTarget {
    TargetShape shape = TargetShape::Flat;
    double tiltDbPerOctave = 0.0;
    HouseCurve house;
    Measurement curve;
    bool followsCrossover = true;
    // Fixed level of the target (on the measurement's scale after its
    // offset); empty: the fit chooses the level by least squares.
    std::optional<double> levelDb;
};

// The shape in dB at `hz` (crossover and level not included).
double targetShapeDb(const FitTarget& target, double hz);

// Empty when the target can be used; else why not (German).
std::string targetProblem(const FitTarget& target);
