#pragma once
// Fitting a channel's six equaliser bands (and, if allowed, its level) to a
// target, on the device's own grid: every band the fit sets has a frequency
// of the device's grid, a Q code and a whole-dB gain within the panel's
// ranges, and every candidate is scored with the very curve the channel will
// have (the response model's own band curves on the plot's grid).
//
// The score is the RMS error in dB between the prediction (the measurement
// plus the channel's response, as the overlay draws it) and the target at its
// best level, over the fit range, every point of the plot's grid counting
// alike (the grid has 100 points per decade, so every octave weighs the
// same). Narrow deep dips can be left out of it.
//
// The search: see EqFit.cpp. The result is never worse than no equaliser at
// all, nor than the equaliser the channel had, nor than the obvious method
// (fit freely, then round each value to the grid), and the same input gives
// the same result on every run.

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "interchange/Measurement.h"
#include "model/ChannelRecord.h"
#include "response/AnalogSection.h"
#include "tuning/FitTarget.h"

struct FrequencyRange {
    double loHz = 0.0;
    double hiHz = 0.0;
    friend bool operator==(const FrequencyRange&, const FrequencyRange&) = default;
};

enum class DipHandling { LeaveAlone, Fill };
enum class ShelfUse { IfHelpful, Never };
// Preview: a first result within a few tens of milliseconds, for a curve
// that follows the options as they change; Full: the whole search, and the
// free and the rounded fit beside it.
enum class FitEffort { Full, Preview };

// A dip narrower than this (in octaves) and deeper than DipDepthDb is left
// alone unless the options say otherwise.
constexpr double DipWidthOctaves = 1.0 / 3.0;
constexpr double DipDepthDb = 6.0;

struct FitOptions {
    // Empty: the measurement's span within 20 Hz..20 kHz, narrowed to where
    // the channel's crossover is above -6 dB.
    std::optional<FrequencyRange> range;
    std::array<bool, EqBandCount> keep{};  // bands left exactly as they are
    int maxBoostDb = 3;                    // per band, 0..6
    double maxTotalBoostDb = 6.0;          // all six bands together, anywhere in 20 Hz..20 kHz
    double maxQ = 5.0;                     // 0.5..10 (peaking bands)
    DipHandling dips = DipHandling::LeaveAlone;
    bool useLevel = true;
    ShelfUse shelves = ShelfUse::IfHelpful;  // EQ5 low shelf, EQ6 high shelf
    FitEffort effort = FitEffort::Full;
};

struct FitInput {
    ChannelRecord channel;
    Measurement measurement;           // averaged and smoothed (Evidence.h)
    double measurementOffsetDb = 0.0;  // added to the measurement (normalisation)
    FitTarget target;
    FitOptions options;
    // Bands to start from (a previous result, for a preview after an option
    // change); bands that do not keep to the options are ignored.
    std::optional<std::array<EqBand, EqBandCount>> start;
};

// Reports progress (0..1) and asks whether to stop; both may be empty.
struct FitProgress {
    std::function<void(double)> report;
    const std::atomic<bool>* cancel = nullptr;
};

enum class FitStatus { Ok, Refused, Cancelled };

// One band of the free fit (frequency, Q and gain not bound to the grid).
struct FreeBand {
    bool used = false;
    SectionType type = SectionType::Peaking;
    double frequency = 0.0;
    double q = 0.0;
    double gainDb = 0.0;
};

struct FitResult {
    FitStatus status = FitStatus::Refused;
    std::string message;  // German, when refused
    // The fitted channel (bands and level); the input's when not Ok.
    ChannelRecord channel;
    FrequencyRange range;
    double errorBeforeDb = 0.0;  // the channel as it was
    double errorAfterDb = 0.0;   // the fitted channel
    // Full effort only: the free fit rounded to the grid value by value, and
    // the free fit itself (what the grid costs).
    std::optional<double> errorRoundedDb;
    std::optional<double> errorFreeDb;
    std::array<FreeBand, EqBandCount> freeBands{};
    double targetLevelDb = 0.0;  // the target's level, chosen or fixed
    std::vector<FrequencyRange> dipsLeftAlone;
    // For the plot: the fit's frequencies (the plot's grid over the range),
    // the target at its level and the fitted channel's prediction there.
    std::vector<double> hz;
    std::vector<double> targetDb;
    std::vector<double> predictedDb;
};

FitResult fitChannel(const FitInput& input, const FitProgress& progress = {});
