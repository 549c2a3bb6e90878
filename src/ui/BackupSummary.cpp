#include "ui/BackupSummary.h"

#include <array>

#include "model/ChannelFieldText.h"
#include "model/ParameterImage.h"

std::string backupDifferenceText(const std::vector<FieldDifference>& differences) {
    constexpr const char* Differs = "von den Einstellungen jetzt ab";
    if (differences.empty()) return "Gleich den Einstellungen jetzt.";
    if (differences.size() == 1) {
        // compareSettings(now, backup): `device` is the backup's value.
        const FieldDifference& d = differences.front();
        return std::string("Weicht in einem Wert ") + Differs + ": " +
               presetChannelText(d.preset, d.channel) + ", " + channelFieldName(d.field) + " " +
               d.device + " statt " + d.here + ".";
    }
    std::array<std::size_t, PresetCount> perPreset{};
    for (const FieldDifference& d : differences) {
        if (ParameterImage::isPreset(d.preset)) ++perPreset[static_cast<std::size_t>(d.preset)];
    }
    std::string presets;
    int presetsDiffering = 0;
    for (std::size_t p = 0; p < perPreset.size(); ++p) {
        if (perPreset[p] == 0) continue;
        ++presetsDiffering;
        presets += (presets.empty() ? "" : ", ") + std::to_string(perPreset[p]) + " in Preset " +
                   std::to_string(p + 1);
    }
    const std::string head =
        "Weicht in " + std::to_string(differences.size()) + " Werten " + Differs;
    if (presetsDiffering == 1) {
        return head + ", alle" + presets.substr(presets.find(" in")) + ".";
    }
    return head + ": " + presets + ".";
}
