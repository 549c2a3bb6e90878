#pragma once
// The sections of the filter and equaliser model as complex values with their
// derivative with respect to the frequency, so that magnitude, phase and group
// delay come from one evaluation. Each section is the analog transfer
// function H(s) whose magnitude ResponseMath.h computes, taken at s = j f
// (frequencies in Hz; 2 pi drops out of the values as it does there):
//
//   first-order high-pass   s / (s + w)                  w = fc / k
//   first-order low-pass    w / (s + w)                  w = fc * k
//   second-order high-pass  (s/f0)^2 / E,  E = 1 + s/(f0 Q) + (s/f0)^2
//   second-order low-pass   1 / E
//   peaking                 1 + (A - 1) (s F0/Q) / Dc,   Dc = s^2 + s F0/Q + F0^2
//   low shelf               1 + (A - 1) F0^2 / Dc
//   high shelf              1 + (A - 1) s^2 / Dc
//
// The values are formed exactly as the magnitude terms form them (the same
// expressions, shared where ResponseMath.h has them), so the magnitude of a
// value differs from the magnitude term only by that term's rounding of the
// parts to single precision. The derivative dH/df is analytic; the group
// delay of a product of sections is -Im(P'/P) / (2 pi) seconds.
//
// Written for the grid loops of ComplexKernel.cpp: no branches that depend on
// the point, no library calls. Internal to the response layer.

#include "response/ResponseMath.h"

// A value and its derivative with respect to f (per Hz).
struct ValueSlope {
    double re;
    double im;
    double dre;
    double dim;
};

// x * y of two complex numbers given as parts.
inline ComplexValue complexProduct(double xr, double xi, double yr, double yi) {
    return {xr * yr - xi * yi, xr * yi + xi * yr};
}

// First-order sections. With d = f^2 + w^2:
// high-pass dH/df = (2 w^2 f + j w (w^2 - f^2)) / d^2, and the low-pass
// derivative is its negative (the two add up to 1).
inline ValueSlope firstOrderHighPassSlope(double f, double f2, double w) {
    const ComplexValue v = firstOrderHighPassValue(f, f2, w);
    const double inv = 1.0 / (f2 + w * w);
    const double inv2 = inv * inv;
    return {v.re, v.im, 2.0 * w * w * f * inv2, w * (w * w - f2) * inv2};
}

inline ValueSlope firstOrderLowPassSlope(double f, double f2, double w) {
    const ComplexValue v = firstOrderLowPassValue(f, f2, w);
    const double inv = 1.0 / (f2 + w * w);
    const double inv2 = inv * inv;
    return {v.re, v.im, -(2.0 * w * w * f * inv2), w * (f2 - w * w) * inv2};
}

// Second-order sections with t = f/f0, r = t^2, u = f/(f0 Q), as the magnitude
// terms define them: E = (1 - r) + j u, 1/E = p - j q. The low-pass is 1/E,
// the high-pass -r/E; E' = -2t/f0 + j/(f0 Q).
struct SecondOrderParts {
    double r;
    double dr;  // dr/df
    double p;
    double q;
    ComplexValue lowSlope;  // d(1/E)/df = -E' / E^2
};

inline SecondOrderParts secondOrderParts(double f, double f0, double f0q) {
    const double t = f / f0;
    const double r = t * t;
    const double u = f / f0q;
    const double e = 1.0 - r;
    const double inv = 1.0 / (e * e + u * u);
    const double p = e * inv;
    const double q = u * inv;
    // (1/E)^2 = (p^2 - q^2) - 2 j p q; -E' = 2t/f0 - j/(f0 Q). The
    // reciprocals do not depend on f: a grid loop forms them once.
    const double dr = 2.0 * t * (1.0 / f0);
    const double du = 1.0 / f0q;
    const ComplexValue slope = complexProduct(dr, -du, p * p - q * q, -2.0 * p * q);
    return {r, dr, p, q, slope};
}

inline ValueSlope secondOrderLowPassSlope(double f, double f0, double f0q) {
    const SecondOrderParts s = secondOrderParts(f, f0, f0q);
    return {s.p, -s.q, s.lowSlope.re, s.lowSlope.im};
}

// d(-r/E)/df = -r' / E - r d(1/E)/df.
inline ValueSlope secondOrderHighPassSlope(double f, double f0, double f0q) {
    const SecondOrderParts s = secondOrderParts(f, f0, f0q);
    return {-s.r * s.p, s.r * s.q, -s.dr * s.p - s.r * s.lowSlope.re,
            s.dr * s.q - s.r * s.lowSlope.im};
}

// Equaliser bands: H = 1 + g T, so dH/df = g T'. With Dc = d0 + j a
// (d0 = F0^2 - f^2, a = f F0/Q, D = |Dc|^2) and 1/Dc = c - j e:
// peaking T = j a / Dc, T' = j (F0/Q) (F0^2 + f^2) / Dc^2;
// low shelf T = F0^2 / Dc, T' = -F0^2 Dc' / Dc^2;
// high shelf T = -f^2 / Dc, T' = -2 f / Dc + f^2 Dc' / Dc^2; Dc' = -2 f + j F0/Q.
struct EqParts {
    double c;
    double e;
    ComplexValue inverseSquare;  // 1 / Dc^2
    double f0OverQ;
};

inline EqParts eqParts(double f, double f2, const EqBandTerms& b) {
    const double a = f * b.f0 / b.q;
    const double d0 = b.f0sq - f2;
    const double inv = 1.0 / (d0 * d0 + a * a);
    const double c = d0 * inv;
    const double e = a * inv;
    return {c, e, {c * c - e * e, -2.0 * c * e}, b.f0 / b.q};
}

inline ValueSlope peakingSlope(double f, double f2, const EqBandTerms& b) {
    const ComplexValue v = peakingValue(f, f2, b);
    const EqParts x = eqParts(f, f2, b);
    const double k = b.g * x.f0OverQ * (b.f0sq + f2);
    // j k / Dc^2
    return {v.re, v.im, -k * x.inverseSquare.im, k * x.inverseSquare.re};
}

inline ValueSlope lowShelfSlope(double f, double f2, const EqBandTerms& b) {
    const ComplexValue v = lowShelfValue(f, f2, b);
    const EqParts x = eqParts(f, f2, b);
    const ComplexValue t =
        complexProduct(-2.0 * f, x.f0OverQ, x.inverseSquare.re, x.inverseSquare.im);
    const double k = -b.g * b.f0sq;
    return {v.re, v.im, k * t.re, k * t.im};
}

inline ValueSlope highShelfSlope(double f, double f2, const EqBandTerms& b) {
    const ComplexValue v = highShelfValue(f, f2, b);
    const EqParts x = eqParts(f, f2, b);
    const ComplexValue t =
        complexProduct(-2.0 * f, x.f0OverQ, x.inverseSquare.re, x.inverseSquare.im);
    const double dre = -2.0 * f * x.c + f2 * t.re;
    const double dim = 2.0 * f * x.e + f2 * t.im;
    return {v.re, v.im, b.g * dre, b.g * dim};
}

inline ValueSlope sectionSlope(double f, double f2, const FilterSection& s) {
    switch (s.kind) {
        case SectionKind::FirstOrderHigh:
            return firstOrderHighPassSlope(f, f2, s.corner);
        case SectionKind::FirstOrderLow:
            return firstOrderLowPassSlope(f, f2, s.corner);
        case SectionKind::SecondOrderHigh:
            return secondOrderHighPassSlope(f, s.corner, s.f0q);
        case SectionKind::SecondOrderLow:
            return secondOrderLowPassSlope(f, s.corner, s.f0q);
    }
    return {1.0, 0.0, 0.0, 0.0};
}

inline ValueSlope eqPlanSlope(double f, double f2, const EqPlan& plan) {
    switch (plan.kind) {
        case EqKind::Peaking:
            return peakingSlope(f, f2, plan.terms);
        case EqKind::LowShelf:
            return lowShelfSlope(f, f2, plan.terms);
        case EqKind::HighShelf:
            return highShelfSlope(f, f2, plan.terms);
    }
    return {1.0, 0.0, 0.0, 0.0};
}

// The product rule for a running product P (with P') times one section H:
// (P H)' = P' H + P H'.
inline ValueSlope multiplySlope(const ValueSlope& p, const ValueSlope& h) {
    const ComplexValue v = complexProduct(p.re, p.im, h.re, h.im);
    const ComplexValue a = complexProduct(p.dre, p.dim, h.re, h.im);
    const ComplexValue b = complexProduct(p.re, p.im, h.dre, h.dim);
    return {v.re, v.im, a.re + b.re, a.im + b.im};
}
