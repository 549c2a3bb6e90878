#pragma once
// Export of a channel's or a preset's settings for other programs, so that
// they play what the device plays (FilterDefinitions.h):
//
// - Equalizer APO: Preamp (the level), Delay (in ms), the crossover as HPQ
//   and LPQ sections with the Qs of the model, the peaking bands as PK with
//   the Q that makes them the same filter. A shelf is the device's own
//   section as an IIR filter for each common sample rate ("If: sampleRate
//   == 48000"), and the nearest LSC or HSC for any other rate ("Else:").
//   Several channels become one "Channel:" block each (1..6).
//   importFilterText() reads an export of one channel (or one block) back
//   into the same channel.
// - Room EQ Wizard: its "Filter Settings file" for one channel: crossover
//   sections, peaking bands with converted Q, shelves as the nearest LSC or
//   HSC (REW's filter files hold no level, no delay and no coefficients;
//   level and delay stand in the notes).
// - CamillaDSP (version 3): a whole configuration for two inputs and six
//   outputs: a mixer from the inputs as each channel's input selects them,
//   then per output the level (Gain), the delay and the crossover and EQ as
//   Biquad filters: CamillaDSP's own types where one is the device's filter,
//   the device's coefficients ("Free") for shelves, at the configured rate.
//
// The user's channel names stand in every export. Sections that a format
// cannot express (first-order sections in APO and REW text, frequencies at or
// above half the sample rate in CamillaDSP) are left out with a warning.
// Every export also says, per channel, how far what the program plays is
// from the device's model (at the sample rate for APO and CamillaDSP).

#include <array>
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
    // German, one per channel: how far the target plays from the device's
    // model ("Kanal 1: bis 20 kHz innerhalb 0.02 dB bei 48 kHz").
    std::vector<std::string> fidelity;
};

// The rate a CamillaDSP configuration is written for, and at which an APO
// export is checked, unless another is chosen.
constexpr int DefaultExportSampleRate = 48000;
// The rates an APO export carries the device's shelf coefficients for.
constexpr std::array<int, 6> ApoIirSampleRates = {44100, 48000, 88200, 96000, 176400, 192000};

// `preset` (0..3) is named in the header.
ExportText exportApo(const std::vector<ExportChannel>& channels, int preset,
                     int sampleRate = DefaultExportSampleRate);
ExportText exportRew(const ExportChannel& channel, int preset);
// `channels` are the six outputs in order.
ExportText exportCamillaDsp(const std::vector<ExportChannel>& channels, int preset,
                            int sampleRate = DefaultExportSampleRate);
