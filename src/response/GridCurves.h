#pragma once
// Single factors of a channel's response in dB on a stretch of the response
// grid: points first .. first + count - 1 (see ResponseGrid.h). Each point is
// the factor exactly as the channel's own product computes it (same formula,
// same single-precision steps), only not yet multiplied with the others. The
// equaliser fit adds such curves instead of forming the product for every
// candidate; the sum differs from the channel's curve by rounding only.
//
// `first` and `count` must lie within the grid.

#include "model/ChannelRecord.h"

// Band `band` (0..5) with its own frequency, Q code and gain:
// magnitudeToDb(eqMagnitude(f_j, ...)) at each point.
void eqBandDbCurve(const EqBand& eq, int band, int first, int count, double* db);

// The channel's high-pass times its low-pass, in dB.
void crossoverDbCurve(const ChannelRecord& record, int first, int count, double* db);
