#include "interchange/SettingsExport.h"

#include <vector>

bool formatTakesChannel(ExportFormat format) {
    return format != ExportFormat::CamillaDsp;
}

bool formatTakesPreset(ExportFormat format) {
    return format != ExportFormat::Rew;
}

bool formatTakesSampleRate(ExportFormat format) {
    return format != ExportFormat::Rew;
}

ExportText exportSettings(ExportFormat format, const ParameterImage& image, int preset,
                          std::optional<int> channel,
                          const std::array<std::string, ChannelCount>& names, int sampleRate) {
    if (!formatTakesChannel(format)) channel.reset();
    if (!formatTakesPreset(format) && !channel) channel = 0;
    std::vector<ExportChannel> channels;
    for (int c = 0; c < ChannelCount; ++c) {
        if (!channel || *channel == c) channels.push_back({c, names[c], image.record(preset, c)});
    }
    switch (format) {
        case ExportFormat::Rew:
            return exportRew(channels.front(), preset);
        case ExportFormat::CamillaDsp:
            return exportCamillaDsp(channels, preset, sampleRate);
        case ExportFormat::Apo:
            break;
    }
    return exportApo(channels, preset, sampleRate);
}
