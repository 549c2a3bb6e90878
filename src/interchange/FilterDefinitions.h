#pragma once
// What the filters of other programs are, in one place: the sections of
// Equalizer APO, Room EQ Wizard and CamillaDSP (R. Bristow-Johnson's
// Audio-EQ-Cookbook) and the device's own sections, as analog prototypes
// H(s) and as the biquads a program runs at a sample rate.
//
// The same names mean different filters. The device's peaking band is
// 1 + (A - 1)·band-pass with A the linear gain, (s² + s·A/Q + 1)/(s² + s/Q + 1);
// the cookbook's is (s² + s·√A/Q + 1)/(s² + s/(√A·Q) + 1). The two are the same
// filter exactly when Q_device = Q_cookbook · 10^(G/40). The device's shelf
// is 1 + (A - 1)·(second-order low- or high-pass) at its frequency; the
// cookbook's shelf puts the same Q on its poles and its zeros and is defined
// around the midpoint (half the gain in dB). No choice of values makes the
// two shelves equal; ShelfFit.h finds the nearest one either way.
//
// A program's biquad is its analog prototype through the bilinear
// transform with the frequency prewarped to the section's own frequency:
// that is how the cookbook derives its coefficients, and so how Equalizer
// APO and CamillaDSP compute theirs. Near half the sample rate such a
// biquad falls far below the analog prototype (a low-pass goes to zero at
// half the rate), which the device's analog model does not show.
//
//   AnalogBiquad pk = analogPrototype(CookbookFilter{CookbookType::Peaking, 1000, -6, 2});
//   double analogDb = magnitudeDb(pk, 3000);
//   double at48kDb = magnitudeDb(bilinear(pk, 48000), 3000, 48000);

#include <complex>
#include <optional>
#include <string_view>
#include <vector>

#include "response/AnalogSection.h"

enum class CookbookType {
    Peaking,
    LowShelf,
    HighShelf,
    LowPass,   // second order
    HighPass,  // second order
    LowPassFirstOrder,
    HighPassFirstOrder,
};

// One section as Equalizer APO, REW and CamillaDSP define it.
struct CookbookFilter {
    CookbookType type = CookbookType::Peaking;
    // Hz: the centre of a peaking filter, the midpoint of a shelf (where it
    // has half its gain in dB), the corner of a high- or low-pass.
    double frequency = 0.0;
    double gainDb = 0.0;  // peaking and shelves
    double q = 0.0;       // the cookbook's Q; not used by first-order sections
    friend bool operator==(const CookbookFilter&, const CookbookFilter&) = default;
};

// H(s) = (n2·s² + n1·s + n0) / (d2·s² + d1·s + d0) with s = j·f/frequency,
// i.e. normalised to the section's own frequency. First-order sections have
// n2 = d2 = 0.
struct AnalogBiquad {
    double frequency = 1.0;
    double n0 = 1.0, n1 = 0.0, n2 = 0.0;
    double d0 = 1.0, d1 = 0.0, d2 = 0.0;
};

// H(z) = (b0 + b1·z⁻¹ + b2·z⁻²) / (1 + a1·z⁻¹ + a2·z⁻²): the five numbers
// CamillaDSP's "Free" biquad takes; Equalizer APO's "IIR" filter takes them
// with a0 = 1 written out.
struct Biquad {
    double b0 = 1.0, b1 = 0.0, b2 = 0.0;
    double a1 = 0.0, a2 = 0.0;
};

// A biquad that holds at one sample rate only (Equalizer APO's "IIR" filter
// under "If: sampleRate == 48000").
struct RateBiquad {
    double sampleRate = 0.0;
    Biquad biquad;
};

// The cookbook's analog prototypes.
AnalogBiquad analogPrototype(const CookbookFilter& filter);
// The device's sections, as its analog model (response/AnalogSection.h)
// computes them.
AnalogBiquad analogPrototype(const AnalogSection& section);

std::complex<double> response(const AnalogBiquad& section, double f);
double magnitudeDb(const AnalogBiquad& section, double f);

// |H|² at f, without complex arithmetic: for sums of many sections.
inline double powerAt(const AnalogBiquad& s, double f) {
    const double x = f / s.frequency;
    const double x2 = x * x;
    const double nr = s.n0 - s.n2 * x2;
    const double ni = s.n1 * x;
    const double dr = s.d0 - s.d2 * x2;
    const double di = s.d1 * x;
    return (nr * nr + ni * ni) / (dr * dr + di * di);
}

// The sections' magnitudes multiplied, in dB at f (one logarithm for every
// few sections, so that neither the product overflows nor the sum is slow).
double productDb(const std::vector<AnalogBiquad>& sections, double f);

// The bilinear transform at `sampleRate`, prewarped to the section's
// frequency. Of a cookbook prototype it gives the cookbook's coefficients.
// The section's frequency must lie below half the sample rate.
Biquad bilinear(const AnalogBiquad& section, double sampleRate);

std::complex<double> response(const Biquad& biquad, double f, double sampleRate);
double magnitudeDb(const Biquad& biquad, double f, double sampleRate);

// --- Conversions between the programs' parameters -----------------------

// The Q the formats default to: a high- or low-pass without a Q is a
// Butterworth section, a shelf without a Q or slope has the slope S 0.9
// (Equalizer APO's value, chosen to match REW).
constexpr double DefaultPassQ = 0.70710678118654752440;
constexpr double DefaultShelfSlope = 0.9;

// Peaking Q of a bandwidth in octaves between the points of half the gain
// in dB, for the analog prototype: Q = √(2^N) / (2^N − 1).
double peakingQFromOctaves(double octaves);

// The cookbook's shelf Q of the slope S (1 is the steepest without
// overshoot; a slope in dB per octave is S·12): 1/Q = √((A + 1/A)(1/S − 1) + 2)
// with A = 10^(G/40). None when the slope is too steep for the gain.
std::optional<double> shelfQFromSlope(double slope, double gainDb);
// The slope S of a shelf of Q and gain (the inverse of the above).
double shelfSlopeFromQ(double q, double gainDb);

// Shelves given by their corner frequency ("LS 6dB", "LS 12dB" and a "LS"
// or "HS" with a Q in Equalizer APO and REW, after the Behringer DCX2496):
// the midpoint lies 10^(|G|/(80·S)) above a low shelf's corner, as far below
// a high shelf's.
double shelfMidpointFromCorner(double corner, double gainDb, double slope, bool lowShelf);

// How Equalizer APO reads a shelf line (REW writes the same): a type name
// ending in "C" ("LSC", "HSC") gives the midpoint; "LS" and "HS" give the
// corner when a Q or a slope follows, the midpoint when neither does.
bool apoShelfFrequencyIsCorner(std::string_view typeName, bool qOrSlopeGiven);

// Peaking bands: the device's Q for the cookbook's Q at the same gain, and
// back. Exact: the two bands are then the same filter.
double devicePeakingQ(double cookbookQ, double gainDb);
double cookbookPeakingQ(double deviceQ, double gainDb);
