#pragma once
// The settings of one channel or of a whole preset in one of the formats of
// FilterExport.h, as the window's export dialog and `filtaro-cli export`
// choose them: which channels go into the export and which writer takes them.

#include <array>
#include <optional>
#include <string>

#include "interchange/FilterExport.h"
#include "model/ParameterImage.h"

enum class ExportFormat { Apo, Rew, CamillaDsp };

// What a format holds: REW's filter file one channel, a CamillaDSP
// configuration always the six outputs, Equalizer APO text either.
bool formatTakesChannel(ExportFormat format);
bool formatTakesPreset(ExportFormat format);
// Whether the sample rate matters: CamillaDSP is configured for it, an APO
// export is checked at it; REW's filters are taken as analog.
bool formatTakesSampleRate(ExportFormat format);

// Preset `preset` (0..3) of `image`; `channel` (0..5) alone, or the whole
// preset without one. What the format does not take is not asked of it: a
// CamillaDSP export is the whole preset, a REW export without a channel is
// channel 1. `sampleRate` goes where the format takes one.
ExportText exportSettings(ExportFormat format, const ParameterImage& image, int preset,
                          std::optional<int> channel,
                          const std::array<std::string, ChannelCount>& names,
                          int sampleRate = DefaultExportSampleRate);
