#pragma once
// Fractional-octave smoothing of a measured level curve, as the fit and the
// measurement overlay use it: each point becomes the mean power over a
// window one N-th of an octave wide centred on it (in log frequency, the
// curve taken linear between its points), so a fine comb of reflections
// averages out while a broad trend stays where it is. Power, not dB, is
// averaged: a narrow dip then weighs as little as the energy it lacks.
//
// Near the ends the window is cut to the measured span, so the first and the
// last point stay close to their own values instead of being pulled towards
// an edge.

#include <vector>

#include "model/MeasurementChoices.h"  // the choices offered

// `db` smoothed with windows of 1/perOctave octave, at the same frequencies
// (`hz` rising, > 0; equal sizes). perOctave <= 0 returns `db` unchanged.
// Finite inputs give finite results.
std::vector<double> smoothedDb(const std::vector<double>& hz, const std::vector<double>& db,
                               int perOctave);

// The curve's value at `hz`, linear in log frequency between its points and
// held at its ends.
double curveDbAt(const std::vector<double>& hz, const std::vector<double>& db, double at);
