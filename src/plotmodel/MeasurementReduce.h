#pragma once
// A measurement thinned for drawing. Files may hold a million points; the
// plot shows a few hundred pixel columns per decade. Within each band of
// 1/MeasurementBandsPerDecade of a decade only the first, the lowest, the
// highest and the last point (by level) are kept, with their phase, so the
// thinned curve covers what the whole one covers at any plot size up to a
// thousand pixels per decade (the plot's default is under three hundred),
// and what is computed from it on every redraw (the prediction) stays cheap.

#include "interchange/Measurement.h"

constexpr int MeasurementBandsPerDecade = 1000;

Measurement reducedMeasurement(const Measurement& m,
                               int bandsPerDecade = MeasurementBandsPerDecade);
