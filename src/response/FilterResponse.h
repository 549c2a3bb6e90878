#pragma once
// Magnitude of the crossover filters, as the display models them: cascades of
// analog first- and second-order sections evaluated on the imaginary axis at
// f Hz. There is no sample rate and no phase; frequencies enter only as
// ratios, so 2*pi drops out.
//
// The arithmetic path (double precision, the single-precision steps of the
// first-order sections, the order of the products, the decimal constants) is
// part of the contract: the plot and the headroom warning must show exactly
// the figures the device's owners know from the original program.

// |re + j*im| in single precision, scaled so that it neither overflows nor
// underflows: b when a == 0, a when b == 0, else big * sqrt(1 + (small/big)^2)
// with a = |re|, b = |im| and the ratio held in single precision.
float complexMagnitude(float re, float im);

// First-order sections: the high-pass puts its corner at fc / k, the
// low-pass at fc * k. Both form the complex value in double, round its parts
// to single precision and return complexMagnitude() of them.
double firstOrderHighPass(double f, double fc, double k);
double firstOrderLowPass(double f, double fc, double k);
// Second-order sections with r = (f / f0)^2, computed in double precision.
double secondOrderHighPass(double f, double f0, double q);
double secondOrderLowPass(double f, double f0, double q);

// Derived numbers of a filter type code (`hpType` / `lpType`): family 10 is
// "off", 0 first order and Bessel, 1 Butterworth, 2 Linkwitz-Riley. A code
// outside 0..9 is family 0, order 0, i.e. no filter.
constexpr int FilterFamilyOff = 10;
int filterFamily(int type);
int filterOrder(int type);

// Linear magnitude (>= 0) of the high-pass / low-pass of `type` with corner
// `fc` at `f`. The type arrives as the integer field converted to double and
// is truncated; a value that is no integer in int range means "no filter".
double highPassMagnitude(double f, double fc, double type);
double lowPassMagnitude(double f, double fc, double type);
