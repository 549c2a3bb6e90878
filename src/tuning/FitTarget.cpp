#include "tuning/FitTarget.h"

#include <cmath>

#include "tuning/Smoothing.h"

namespace {

constexpr double AudioLowHz = 20.0;
constexpr double AudioHighHz = 20000.0;
constexpr double TiltPivotHz = 1000.0;

}  // namespace

double targetShapeDb(const FitTarget& target, double hz) {
    switch (target.shape) {
        case TargetShape::Flat:
            return 0.0;
        case TargetShape::Tilt:
            return target.tiltDbPerOctave * std::log2(hz / TiltPivotHz);
        case TargetShape::House: {
            const HouseCurve& h = target.house;
            double db = 0.0;
            if (hz < h.lowCornerHz && h.lowCornerHz > AudioLowHz) {
                const double t = std::log(h.lowCornerHz / std::max(hz, AudioLowHz)) /
                                 std::log(h.lowCornerHz / AudioLowHz);
                db += h.lowRiseDb * t;
            }
            if (hz > h.highCornerHz && h.highCornerHz < AudioHighHz) {
                const double t = std::log(std::min(hz, AudioHighHz) / h.highCornerHz) /
                                 std::log(AudioHighHz / h.highCornerHz);
                db -= h.highFallDb * t;
            }
            return db;
        }
        case TargetShape::Curve:
            return curveDbAt(target.curve.frequencies, target.curve.db, hz);
    }
    return 0.0;
}

std::string targetProblem(const FitTarget& target) {
    if (target.levelDb && !std::isfinite(*target.levelDb)) return "Der Zielpegel ist keine Zahl.";
    switch (target.shape) {
        case TargetShape::Flat:
            return {};
        case TargetShape::Tilt:
            return std::isfinite(target.tiltDbPerOctave) && std::fabs(target.tiltDbPerOctave) <= 6.0
                       ? std::string()
                       : "Die Neigung muss zwischen -6 und 6 dB je Oktave liegen.";
        case TargetShape::House: {
            const HouseCurve& h = target.house;
            const bool numbers = std::isfinite(h.lowRiseDb) && std::isfinite(h.highFallDb) &&
                                 std::fabs(h.lowRiseDb) <= 24.0 && std::fabs(h.highFallDb) <= 24.0;
            const bool corners = h.lowCornerHz >= AudioLowHz && h.highCornerHz <= AudioHighHz &&
                                 h.lowCornerHz <= h.highCornerHz;
            if (!numbers)
                return "Anstieg und Abfall der Hauskurve müssen zwischen -24 und 24 dB liegen.";
            if (!corners) {
                return "Die Eckfrequenzen der Hauskurve müssen zwischen 20 Hz und 20 kHz liegen, "
                       "die untere nicht über der oberen.";
            }
            return {};
        }
        case TargetShape::Curve:
            return target.curve.frequencies.size() >= 2 &&
                           target.curve.db.size() == target.curve.frequencies.size()
                       ? std::string()
                       : "Die Zielkurve enthält keine zwei Punkte.";
    }
    return {};
}
