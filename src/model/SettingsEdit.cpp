#include "model/SettingsEdit.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "model/ChannelFieldText.h"

namespace {

bool samePlotRange(const ParameterImage& a, const ParameterImage& b) {
    return a.plotStartHz() == b.plotStartHz() && a.plotEndHz() == b.plotEndHz();
}

// The equaliser band of a field, -1 for the fields before the bands.
int bandOfField(int k) {
    return k >= eqFrequencyField(0) ? (k - eqFrequencyField(0)) / 3 : -1;
}

std::string channelText(int c) {
    return "Kanal " + std::to_string(c + 1);
}

}  // namespace

bool sameSettings(const ParameterImage& a, const ParameterImage& b) {
    const auto first = a.bytes().begin() + ImageOffset::presets;
    const auto last = a.bytes().begin() + ImageOffset::redrawPending;
    return samePlotRange(a, b) && std::equal(first, last, b.bytes().begin() + ImageOffset::presets);
}

bool holdsDefaultSettings(const ParameterImage& image) {
    ParameterImage defaults;
    applyDefaults(defaults);
    return sameSettings(image, defaults);
}

ParameterImage withSettingsOf(const ParameterImage& image, const ParameterImage& settings) {
    ParameterImage result = image;
    result.setPlotStartHz(settings.plotStartHz());
    result.setPlotEndHz(settings.plotEndHz());
    std::copy(settings.bytes().begin() + ImageOffset::presets,
              settings.bytes().begin() + ImageOffset::redrawPending,
              result.bytes().begin() + ImageOffset::presets);
    return result;
}

SettingsEdit describeEdit(const ParameterImage& before, const ParameterImage& after) {
    std::vector<std::tuple<int, int, int>> fields;  // preset, channel, field
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            for (int k = 0; k < ChannelRecordFieldCount; ++k) {
                if (before.field(p, c, k) != after.field(p, c, k)) fields.emplace_back(p, c, k);
            }
        }
    }
    if (fields.empty()) {
        return {samePlotRange(before, after) ? "" : "Grafikoptionen", 0};
    }
    std::set<int> presets, records, bands;
    for (const auto& [p, c, k] : fields) {
        presets.insert(p);
        records.insert(p * ChannelCount + c);
        bands.insert(bandOfField(k));
    }
    if (!samePlotRange(before, after) || presets.size() > 1) {
        return {"Einstellungen", 0};
    }
    const auto [p, c, k] = fields.front();
    if (records.size() > 1) {
        return {"Preset " + std::to_string(p + 1), 0};
    }
    if (fields.size() == 1) {
        const int key = 1 + (p * ChannelCount + c) * ChannelRecordFieldCount + k;
        return {channelFieldName(k) + " " + channelText(c), key};
    }
    if (bands.size() == 1 && *bands.begin() >= 0) {
        return {"EQ" + std::to_string(*bands.begin() + 1) + " " + channelText(c), 0};
    }
    return {channelText(c), 0};
}

ParameterImage replayStep(const ParameterImage& current, const ParameterImage& from,
                          const ParameterImage& to) {
    ParameterImage result = current;
    for (std::size_t i = 0; i < ImageOffset::redrawPending; ++i) {
        if (from.bytes()[i] != to.bytes()[i]) result.bytes()[i] = to.bytes()[i];
    }
    result.setActivePreset(to.activePreset());
    result.setRedrawPending(1);
    return result;
}
