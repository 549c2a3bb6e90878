#pragma once
// Angles, turns and logarithms for the grid loops of ComplexKernel.cpp,
// written without library calls or branches that depend on the point so that
// the loops vectorise (the C library's atan2, sincos and log10 are scalar
// calls); the series loops are unrolled for the same reason. Each is accurate far beyond the
// single-precision curves it feeds: angles to about 1e-11 rad, sine and cosine to about 1e-16,
// log10 to a few units in the last place. Internal to the response layer.

#include <bit>
#include <cmath>
#include <cstdint>

namespace polar {

constexpr double Pi = 3.141592653589793;
constexpr double TwoPi = 6.283185307179586;

// 2^51: below it, adding and subtracting 1.5 * 2^52 rounds a double to the
// nearest integer (ties to even). From 2^52 on every double is an integer.
constexpr double RoundingLimit = 2251799813685248.0;
constexpr double RoundingShift = 6755399441055744.0;

// x minus the nearest integer, in [-0.5, 0.5]: the position within a turn.
// From 2^51 on the fraction is not resolved any more and reads as 0.
inline double turnFraction(double x) {
    const double rounded = (x + RoundingShift) - RoundingShift;
    return std::fabs(x) < RoundingLimit ? x - rounded : 0.0;
}

struct CosSin {
    double cos;
    double sin;
};

// cos and sin of `turns` full turns (2 pi turns radians).
inline CosSin cosSinOfTurns(double turns) {
    const double r = turnFraction(turns);
    const double quarter = (4.0 * r + RoundingShift) - RoundingShift;  // -2..2
    const double x = TwoPi * (r - 0.25 * quarter);                     // |x| <= pi/4
    const double z = x * x;
    // Taylor series to x^19 and x^18; the first left-out term is below 1e-19.
    double s = 0.0;
    double c = 0.0;
#pragma GCC unroll 16
    for (int k = 9; k >= 1; --k) {
        s = 1.0 - z * (1.0 / ((2.0 * k) * (2.0 * k + 1.0))) * s;
        c = 1.0 - z * (1.0 / ((2.0 * k - 1.0) * (2.0 * k))) * c;
    }
    s *= x;
    // Rotate by the quarter turns taken off: cos keeps its sign for -1 and 0,
    // sin for 0 and 1, and odd quarters swap the two. (Single comparisons, so
    // that the selection needs no branch.)
    const bool odd = std::fabs(quarter) == 1.0;
    const double cosBase = odd ? s : c;
    const double sinBase = odd ? c : s;
    const double cosSign = std::fabs(quarter + 0.5) < 1.0 ? 1.0 : -1.0;
    const double sinSign = std::fabs(quarter - 0.5) < 1.0 ? 1.0 : -1.0;
    return {cosSign * cosBase, sinSign * sinBase};
}

// The angle of x + j y in turns, in [-0.5, 0.5]; 0 for 0 + j0.
inline double angleInTurns(double y, double x) {
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const bool steep = ay > ax;
    const double big = steep ? ay : ax;
    const double small = steep ? ax : ay;
    const double a = small / (big > 0.0 ? big : 1.0);  // [0, 1]
    // atan a = pi/4 + atan((a - 1)/(a + 1)); either argument stays within tan(pi/8).
    const bool upper = a > 0.41421356237309503;
    const double t = upper ? (a - 1.0) / (a + 1.0) : a;
    const double z = t * t;
    // Taylor series of atan to t^23; the first left-out term is below 1.2e-11.
    double series = 1.0 / 23.0;
#pragma GCC unroll 16
    for (int k = 21; k >= 1; k -= 2) series = 1.0 / k - z * series;
    double angle = (upper ? Pi / 4.0 : 0.0) + t * series;  // [0, pi/4]
    angle = steep ? Pi / 2.0 - angle : angle;
    angle = x < 0.0 ? Pi - angle : angle;
    angle = std::copysign(angle, y);  // -0 counts as below the axis
    return angle / TwoPi;
}

// log10 x for a finite x > 0 (subnormals included).
inline double log10Positive(double x) {
    constexpr double Two64 = 18446744073709551616.0;
    const bool tiny = x < 2.2250738585072014e-308;
    const double scaled = tiny ? x * Two64 : x;
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(scaled);
    // The biased exponent as a double, without an integer conversion.
    const double biased =
        std::bit_cast<double>((bits >> 52) | 0x4330000000000000ULL) - 4503599627370496.0;
    const double mantissa =
        std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFFULL) | 0x3FF0000000000000ULL);  // [1, 2)
    const bool high = mantissa > 1.4142135623730951;
    const double m = high ? 0.5 * mantissa : mantissa;  // [0.707, 1.414]
    const double exponent = biased - 1023.0 + (high ? 1.0 : 0.0) - (tiny ? 64.0 : 0.0);
    // ln m = 2 atanh z, z = (m - 1)/(m + 1), |z| <= 0.172; series to z^21.
    const double z = (m - 1.0) / (m + 1.0);
    const double z2 = z * z;
    double series = 1.0 / 21.0;
#pragma GCC unroll 16
    for (int k = 19; k >= 1; k -= 2) series = 1.0 / k + z2 * series;
    const double lnM = 2.0 * z * series;
    constexpr double Log10Of2 = 0.30102999566398120;
    constexpr double Log10OfE = 0.43429448190325182;
    return exponent * Log10Of2 + lnM * Log10OfE;
}

// The nearest float, with values beyond the float range held at its ends
// (a conversion would give infinity).
inline float saturatedFloat(double x) {
    constexpr double Max = 3.4028234663852886e38;
    return static_cast<float>(x > Max ? Max : (x < -Max ? -Max : x));
}

}  // namespace polar
