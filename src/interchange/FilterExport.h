#pragma once
// Export of a channel's or a preset's settings for other programs:
//
// - Equalizer APO: Preamp (the level), Delay (in ms), the crossover as HPQ
//   and LPQ sections with the Qs of the model, the six EQ bands as PK, LSC
//   and HSC. Several channels become one "Channel:" block each (1..6).
//   importFilterText() reads an export of one channel (or one block) back
//   into the same channel.
// - Room EQ Wizard: its "Filter Settings file" for one channel: crossover
//   sections and EQ bands (REW's filter files hold no level and no delay;
//   both stand in the notes).
// - CamillaDSP (version 3): a whole configuration for two inputs and six
//   outputs: a mixer from the inputs as each channel's input selects them,
//   then per output the level (Gain), the delay and the crossover and EQ as
//   Biquad filters of CamillaDSP's own types.
//
// The user's channel names stand in every export. Sections that a format
// cannot express (first-order sections in APO and REW text, frequencies at or
// above half the sample rate in CamillaDSP) are left out with a warning.

#include <string>
#include <vector>

#include "model/ChannelRecord.h"

struct ExportChannel {
    int index = 0;     // 0..5
    std::string name;  // the user's name, may be empty
    ChannelRecord record;
};

struct ExportText {
    std::string text;
    std::vector<std::string> warnings;  // German, one per thing left out
};

constexpr int DefaultCamillaSampleRate = 48000;

// `preset` (0..3) is named in the header.
ExportText exportApo(const std::vector<ExportChannel>& channels, int preset);
ExportText exportRew(const ExportChannel& channel, int preset);
// `channels` are the six outputs in order.
ExportText exportCamillaDsp(const std::vector<ExportChannel>& channels, int preset,
                            int sampleRate = DefaultCamillaSampleRate);
