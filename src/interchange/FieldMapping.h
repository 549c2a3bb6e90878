#pragma once
// How one value from another program becomes the value of a ChannelRecord
// field: onto the device's frequency grid, onto the nearest Q code, to whole
// dB, each within the range the channel panel allows.

#include "model/ParameterLimits.h"

// The grid frequency (model/FrequencyGrid.h) within `range` nearest to `hz`
// on a logarithmic axis (equal ratios count equal); a frequency outside the
// range gets the range's end.
int nearestGridFrequency(double hz, ParameterLimits::Range range);

// The peaking Q code 1..20 (Q = code / 2) whose Q is nearest to `q` in
// equal ratios (Q 0.7 is nearer to 1 than to 0.5: the Q a band has matters
// by its ratio, as a bandwidth in octaves does).
int nearestPeakingQCode(double q);

// `db` rounded to whole dB (halves away from zero), then limited to `range`.
int wholeDb(double db, ParameterLimits::Range range);

// The delay of `ms` milliseconds in whole taps, limited to the delay line of
// channel `channel` (0..5).
int delayTapsFor(double ms, int channel);
