#pragma once
// Measurements as evidence for the fit: several measurements of one channel
// (listening positions, or the same position repeated) become one curve, and
// the measurements of a preset can share one level offset.
//
// Averaging:
//   Power   the mean of the powers: a position with a deep notch pulls the
//           average down by the energy it lacks, no more (what a room's
//           listeners hear on average; the usual choice).
//   Db      the mean of the levels in dB: every position weighs the same,
//           notches included.
//   Vector  the mean of the complex responses (level and phase): what stays
//           coherent across positions, the loudspeaker's own part, survives,
//           while reflections that differ from seat to seat cancel. Needs the
//           phase of every measurement.
//
// The combined curve lies on the frequencies of the first measurement, over
// the span every measurement covers; the others are read between their
// points (linear in log frequency; the phase unwrapped first).

#include <string>
#include <vector>

#include "interchange/Measurement.h"
#include "model/MeasurementChoices.h"

struct EvidenceCurve {
    bool ok = false;
    Measurement curve;  // without phase
    std::string error;  // German, when not ok
};

// The measurements averaged, then smoothed with 1/perOctave octave (0: not
// smoothed; see Smoothing.h).
EvidenceCurve combineMeasurements(const std::vector<Measurement>& measurements, Averaging averaging,
                                  int perOctave);

// One offset for all measurements of a preset, so that the drivers keep their
// level ratio: it puts the loudest measurement's 200 Hz..2 kHz average at
// 0 dB (a measurement without that range counts with its average over its
// own span). 0 for no measurements.
double sharedNormalisationOffset(const std::vector<const Measurement*>& measurements);
