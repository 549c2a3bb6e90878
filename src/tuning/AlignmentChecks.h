#pragma once
// What the program can check of the measurements before it aligns drivers
// by their phase, and what it cannot. Phase is comparable between drivers
// only if they were measured against one timing reference (REW's acoustic
// timing reference or a loopback), at one microphone position and with one
// level reference. None of that is written in the files; what they do show:
//
// - Phase: every chosen measurement has it (else only levels are matched).
// - The bulk delay: the constant delay that explains each measurement's
//   phase best over its driver's passband in the region (where its
//   crossover as set is above -10 dB). A negative one beyond 1 ms cannot be
//   a flight time; two that differ by more than 3 ms (a metre of path) are
//   no drivers of one box measured with one reference.
// - The excess group delay: what remains once the bulk delay is taken out,
//   between neighbouring grid points. A driver in its passband stays within
//   a few periods; more than three periods is a reflection in the measuring
//   window (its comb) or a damaged phase.
// - Wrapped-phase artefacts: with the bulk delay taken out, the phase
//   between two neighbouring points of the file moves by less than 90
//   degrees in the passband; a larger step means the file's points are too
//   far apart for its delay, or the phase was cut.
// - Levels: a measurement whose passband lies within half a dB of 0 dB was
//   most likely normalised on its own, which hides its level against the
//   other driver.
//
// Internal to the tuning layer; alignCrossover() reports the findings as
// warnings and the rest as the texts below.

#include <string>
#include <vector>

#include "tuning/AlignProblem.h"

std::vector<std::string> checkAlignmentMeasurements(const AlignProblem& p, const AlignInput& input);

// What no file shows, in the program's words.
std::vector<std::string> uncheckedAlignmentTexts();
