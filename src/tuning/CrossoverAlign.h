#pragma once
// Aligning the drivers that meet at a crossover: two or three channels of
// one input side (woofer and tweeter, or woofer, midrange and tweeter), each
// with a measurement of its driver, and the settings that make their sum
// follow the target through the crossover region: each channel's delay in
// the device's taps, its level in whole dB, the crossover's frequency on the
// device's grid and its type from the device's list. One channel is held:
// its delay and level stay as they are.
//
// The score of a setting, in dB, over the grid points of the region:
//   sqrt(mean(e^2) + mean(c^2))
// where e is the level of the predicted complex sum (MeasuredSum.h) minus
// the target (at its best level unless the target fixes it), and c is how
// far the sum falls below the power sum of the channels (the sum their
// levels would give without phase): a cancellation, which a measurement at
// another seat would not confirm. The search and why it is built so: see
// CrossoverAlign.cpp.
//
// Without phase (any of the measurements lacks it) the assistant only
// matches the levels: each channel's level is chosen so that its driver meets
// the target (laid over the channel's own crossover) in its passband, where
// the held channel sets the target's level; delay and crossover stay as set.
//
// Deterministic: the same input gives the same candidates in the same order.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "interchange/Measurement.h"
#include "model/ChannelRecord.h"
#include "tuning/EqFit.h"
#include "tuning/FitTarget.h"

// What the assistant may change on the channels that are not held.
struct AlignVary {
    bool delay = true;
    bool level = true;
    bool crossover = false;  // frequency and type of the crossovers between the channels
};

enum class AlignEffort {
    Full,     // every tap of the delay line
    Preview,  // a coarse comb of taps refined around the best: tens of milliseconds
};

struct AlignOptions {
    AlignVary vary;
    int held = -1;  // channel index 0..5 among the chosen; -1: the first chosen
    // Empty: one octave below the lowest crossover to one octave above the
    // highest, within what every measurement covers.
    std::optional<FrequencyRange> region;
    FitTarget target;  // flat unless set; follows the outer high- and low-pass
    // The crossover's choices when it may change. Empty types: the present
    // type and the device's other types of the same slope; empty
    // frequencies: the device's grid frequencies nearest to the present
    // crossover frequency in semitone steps, half an octave either way.
    std::vector<int> crossoverTypes;
    std::vector<int> crossoverFrequencies;
    int candidateCount = 5;
    AlignEffort effort = AlignEffort::Full;
};

struct AlignInput {
    std::array<ChannelRecord, ChannelCount> records;     // the preset's channels
    std::vector<int> channels;                           // 2 or 3 channel indices 0..5
    std::array<Measurement, ChannelCount> measurements;  // by channel; the chosen ones needed
    AlignOptions options;
};

struct AlignCandidate {
    double scoreDb = 0.0;
    // The chosen channels' records with the candidate's settings, in the
    // order of AlignInput::channels.
    std::vector<ChannelRecord> records;
};

enum class AlignStatus { Ok, Refused, Cancelled };

struct AlignResult {
    AlignStatus status = AlignStatus::Refused;
    std::string message;  // German, when refused
    bool phaseUsed = false;
    FrequencyRange region;
    int held = -1;
    double presentScoreDb = 0.0;             // the settings as they are
    std::vector<AlignCandidate> candidates;  // best first
    // German: what the checks found, the lobe and polarity warnings, and why
    // only levels were matched.
    std::vector<std::string> warnings;
    // German: what the program cannot check and the user must know.
    std::vector<std::string> unchecked;
};

AlignResult alignCrossover(const AlignInput& input, const FitProgress& progress = {});

// One setting scored as the search scores it, and its predicted sum on the
// region's grid points: what a preview draws while the user changes a value.
struct AlignEvaluation {
    bool ok = false;
    std::string message;
    double scoreDb = 0.0;
    FrequencyRange region;
    std::vector<double> hz;
    std::vector<double> sumDb;     // the predicted sum of the chosen channels
    std::vector<double> targetDb;  // at its level
};
// `records` replaces the chosen channels' records (same order as
// input.channels); the rest of `input` as for alignCrossover().
AlignEvaluation evaluateAlignment(const AlignInput& input,
                                  const std::vector<ChannelRecord>& records);

// The warning when the best two solutions lie one period apart at the
// crossover frequency.
constexpr const char* LobeWarningText =
    "zwei Lösungen eine Periode auseinander: prüfen Sie die Messung";
