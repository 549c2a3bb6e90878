#pragma once
// Magnitude of one equaliser band: a peaking band for Q codes up to 20, a
// second-order shelf above (band 5 a high shelf, every other band a low
// shelf). Same contract on the arithmetic path as FilterResponse.h.

// Index of the band that shelves high; any other band shelves low.
constexpr int HighShelfBand = 5;

// The Q a shelving code stands for: 21, 22, 23 -> 0.3, 0.5, 0.7; any other
// code is used as the Q itself.
double shelfQ(double qCode);

// |H| of band `band` (0..5) at f Hz: centre or corner F0 Hz, Q code `qCode`,
// gain `gainDb` (A = 10^(G/20)). G == 0 gives exactly 1 for any sound F0 and
// Q; a Q code of 0 gives NaN (the channel then reads as 0 dB).
double eqMagnitude(double f, double f0, double qCode, double gainDb, int band);

// 20*log10(x) for x > 0; 0 for zero, negative and NaN.
double magnitudeToDb(double x);
