#pragma once
// A curve at its own frequencies (a measurement, a target) read between its
// points: linear in log frequency, as the plot draws it and as the fit's
// targets are sampled.

#include <optional>
#include <vector>

// The value at `hz` of the curve through (`frequencies`, `values`) (rising
// frequencies; the shorter of the two sets the length): nothing outside its
// frequencies, at a frequency of no number, or where a neighbour is not a
// number.
std::optional<double> logInterpolatedAt(const std::vector<double>& frequencies,
                                        const std::vector<double>& values, double hz);
