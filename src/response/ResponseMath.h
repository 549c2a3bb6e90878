#pragma once
// The formulas of the filter and equaliser model in one place, written so that
// the grid loops of ResponseKernel.cpp vectorise: every section takes f and
// f*f, and the terms that do not depend on f (corner products, gain factor)
// come in already formed exactly as the formulas form them. The public
// per-point functions call the same code, so both paths give identical bits.
//
// Internal to the response layer.

#include <cmath>

// See complexMagnitude() in FilterResponse.h. Written without branches so
// that the grid loops vectorise: when exactly one part is 0 the general
// formula gives big * sqrt(1 + 0) == big, which is what the short cuts return;
// when both are 0 the ratio is taken over 1 instead of 0 and the result is 0.
// NaN parts give NaN either way.
inline float magnitudeOf(float re, float im) {
    const float a = std::fabs(re);
    const float b = std::fabs(im);
    const bool aBigger = a > b;
    const float big = aBigger ? a : b;
    const float small = aBigger ? b : a;
    const float ratio = small / (big > 0.0f ? big : 1.0f);
    const double r = static_cast<double>(ratio);
    return static_cast<float>(big * std::sqrt(1.0 + r * r));
}

// A complex value as the formulas form it, in double precision. The
// magnitude terms round its parts to single precision (magnitudeOf); the
// complex response (ComplexMath.h) uses the same parts unrounded.
struct ComplexValue {
    double re;
    double im;
};

inline double magnitudeOfValue(ComplexValue v) {
    return magnitudeOf(static_cast<float>(v.re), static_cast<float>(v.im));
}

// First-order high-pass with w = fc / k: f^2/(f^2+w^2) + j f w/(f^2+w^2).
inline ComplexValue firstOrderHighPassValue(double f, double f2, double w) {
    const double d = f2 + w * w;
    return {f2 / d, f * w / d};
}

// First-order low-pass with w = fc * k: w^2/(f^2+w^2) - j f w/(f^2+w^2).
inline ComplexValue firstOrderLowPassValue(double f, double f2, double w) {
    const double d = f2 + w * w;
    return {w * w / d, -(f * w) / d};
}

inline double firstOrderHighPassTerm(double f, double f2, double w) {
    return magnitudeOfValue(firstOrderHighPassValue(f, f2, w));
}

inline double firstOrderLowPassTerm(double f, double f2, double w) {
    return magnitudeOfValue(firstOrderLowPassValue(f, f2, w));
}

// Second order with r = (f/f0)^2; f0q = f0 * Q.
inline double secondOrderDenominator(double f, double f0, double f0q, double& r) {
    const double t = f / f0;
    r = t * t;
    const double u = f / f0q;
    return std::sqrt((1.0 - r) * (1.0 - r) + u * u);
}

inline double secondOrderHighPassTerm(double f, double f0, double f0q) {
    double r;
    const double den = secondOrderDenominator(f, f0, f0q, r);
    return r / den;
}

inline double secondOrderLowPassTerm(double f, double f0, double f0q) {
    double r;
    const double den = secondOrderDenominator(f, f0, f0q, r);
    return 1.0 / den;
}

// Equaliser terms: F0, F0^2, Q and g = A - 1 of one band.
struct EqBandTerms {
    double f0;
    double f0sq;
    double q;
    double g;
};

// Peaking: H = (1 + g a^2/D) + j g a (F0^2 - f^2)/D, a = f F0/Q,
// D = (F0^2 - f^2)^2 + a^2.
inline ComplexValue peakingValue(double f, double f2, const EqBandTerms& b) {
    const double a = f * b.f0 / b.q;
    const double d0 = b.f0sq - f2;
    const double den = d0 * d0 + a * a;
    return {1.0 + b.g * (a * a) / den, b.g * a * d0 / den};
}

// Shelves: D = (f^2 - F0^2)^2 + a^2; the numerator factor n is f^2 for the
// high shelf and -F0^2 for the low shelf:
// H = (1 + g n (f^2 - F0^2)/D) + j g n a/D.
inline ComplexValue shelfValue(double f2, double a, double n, const EqBandTerms& b) {
    const double d1 = f2 - b.f0sq;
    const double den = d1 * d1 + a * a;
    return {1.0 + b.g * n * d1 / den, b.g * n * a / den};
}

inline ComplexValue highShelfValue(double f, double f2, const EqBandTerms& b) {
    return shelfValue(f2, f * b.f0 / b.q, f2, b);
}

inline ComplexValue lowShelfValue(double f, double f2, const EqBandTerms& b) {
    return shelfValue(f2, f * b.f0 / b.q, -b.f0sq, b);
}

inline double peakingTerm(double f, double f2, const EqBandTerms& b) {
    return magnitudeOfValue(peakingValue(f, f2, b));
}

inline double highShelfTerm(double f, double f2, const EqBandTerms& b) {
    return magnitudeOfValue(highShelfValue(f, f2, b));
}

inline double lowShelfTerm(double f, double f2, const EqBandTerms& b) {
    return magnitudeOfValue(lowShelfValue(f, f2, b));
}

// One crossover filter as at most two sections whose magnitudes multiply in
// the listed order (a Linkwitz-Riley square is the same section twice).
enum class SectionKind { FirstOrderHigh, FirstOrderLow, SecondOrderHigh, SecondOrderLow };

struct FilterSection {
    SectionKind kind;
    double corner;   // w of a first-order section, f0 of a second-order one
    double f0q;      // f0 * Q of a second-order section
    double q = 0.0;  // Q of a second-order section, the decimal constant itself
};

struct FilterPlan {
    int count = 0;  // 0: no filter, magnitude exactly 1
    FilterSection sections[2]{};
};

FilterPlan highPassPlan(double fc, double type);
FilterPlan lowPassPlan(double fc, double type);

inline double sectionTerm(double f, double f2, const FilterSection& s) {
    switch (s.kind) {
        case SectionKind::FirstOrderHigh:
            return firstOrderHighPassTerm(f, f2, s.corner);
        case SectionKind::FirstOrderLow:
            return firstOrderLowPassTerm(f, f2, s.corner);
        case SectionKind::SecondOrderHigh:
            return secondOrderHighPassTerm(f, s.corner, s.f0q);
        case SectionKind::SecondOrderLow:
            return secondOrderLowPassTerm(f, s.corner, s.f0q);
    }
    return 1.0;
}

inline double planMagnitude(double f, const FilterPlan& plan) {
    const double f2 = f * f;
    if (plan.count == 0) return 1.0;
    const double first = sectionTerm(f, f2, plan.sections[0]);
    return plan.count == 1 ? first : first * sectionTerm(f, f2, plan.sections[1]);
}

// One equaliser band ready for evaluation.
enum class EqKind { Peaking, LowShelf, HighShelf };

struct EqPlan {
    EqKind kind;
    EqBandTerms terms;
};

EqPlan eqPlan(double f0, double qCode, double gainDb, int band);

inline double eqPlanMagnitude(double f, double f2, const EqPlan& plan) {
    switch (plan.kind) {
        case EqKind::Peaking:
            return peakingTerm(f, f2, plan.terms);
        case EqKind::LowShelf:
            return lowShelfTerm(f, f2, plan.terms);
        case EqKind::HighShelf:
            return highShelfTerm(f, f2, plan.terms);
    }
    return 1.0;
}
