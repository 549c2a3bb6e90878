#pragma once
// Narrow deep dips: a careful tuner leaves them alone, since a dip that
// narrow is mostly a cancellation (a reflection arriving in opposite phase,
// a room mode's null) that more power cannot fill; a boost there only costs
// headroom and moves the dip to the next seat.
//
// A point lies in such a dip when, within `maxWidthPoints` points around it,
// the curve rises at least `depthDb` above it on both sides. The dip reaches
// from there up the flanks while the curve still rises, so that its
// shoulders are not filled either, but never wider than `maxWidthPoints` in
// all: what is left alone is a narrow dip, not the slopes around it.

#include <vector>

// `db` and `valid` of equal length, on evenly spaced log frequencies.
// Returns one flag per point.
std::vector<bool> narrowDipPoints(const std::vector<double>& db, const std::vector<bool>& valid,
                                  int maxWidthPoints, double depthDb);
