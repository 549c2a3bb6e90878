#pragma once
// What the "Übergang ausrichten" dialog says about a candidate, as plain text
// and numbers: each channel's change from the settings as they are, with the
// direction of a delay made plain ("+12 Taps (4,3 cm / 0,12 ms später)"), and
// the curves it lays over the plot. German numbers with a decimal comma.

#include <string>
#include <vector>

#include "model/ChannelRecord.h"
#include "plotmodel/PreviewCurves.h"
#include "tuning/CrossoverAlign.h"

// A delay change from `before` to `after` taps: "+12 Taps (4,3 cm / 0,12 ms
// später)", "-3 Taps (1,1 cm / 0,03 ms früher)"; "" when it stays.
std::string delayChangeText(int beforeTaps, int afterTaps);

// One line per chosen channel (in the order of `channels`): "Kanal 2: +5 Taps
// (1,8 cm / 0,05 ms später), Pegel 0 → -3 dB, Hochpass 2300 → 2900 Hz",
// "Kanal 3: unverändert"; none for the held channel unless its crossover
// changes.
std::vector<std::string> candidateLines(const std::vector<int>& channels, int held,
                                        const std::vector<ChannelRecord>& before,
                                        const std::vector<ChannelRecord>& after);

// "Summe L" or "Summe R": the side the chosen channels feed (the left one for
// channels on both).
int alignSumSide(const std::array<ChannelRecord, ChannelCount>& records,
                 const std::vector<int>& channels);

// The plot's curves while the dialog is open, on the overlay's scale (the
// sums moved by `offsetDb`), in the colour of the side's sum: the sum as set,
// thin ("Summe jetzt"), and the chosen candidate's sum, dashed ("Vorschlag
// 1"). Without phase no sum can be predicted: then each chosen channel's
// driver with the candidate's level, dashed in the channel's colour
// ("Vorschlag Kanal 2"). Empty when `input` cannot be evaluated.
PlotPreview alignPreview(const AlignInput& input, const std::vector<ChannelRecord>& candidate,
                         int rank, double offsetDb);
