#include <gtest/gtest.h>

#include "ui/BackupSummary.h"

namespace {

TEST(BackupSummary, SaysHowABackupDiffersFromTheSettingsOnScreen) {
    const FieldDifference level{1, 2, 0, "0 dB", "-2 dB"};
    const FieldDifference delay{1, 0, 7, "0 Taps (0.0 mm)", "3 Taps (10.7 mm)"};
    const FieldDifference hp{3, 5, 1, "20 Hz", "80 Hz"};
    const std::pair<std::vector<FieldDifference>, const char*> cases[] = {
        {{}, "Gleich den Einstellungen jetzt."},
        {{level},
         "Weicht in einem Wert von den Einstellungen jetzt ab: Preset 2, Kanal 3, Pegel -2 dB "
         "statt 0 dB."},
        {{level, delay}, "Weicht in 2 Werten von den Einstellungen jetzt ab, alle in Preset 2."},
        {{level, delay, hp},
         "Weicht in 3 Werten von den Einstellungen jetzt ab: 2 in Preset 2, 1 in Preset 4."},
    };
    for (const auto& [differences, text] : cases) {
        EXPECT_EQ(backupDifferenceText(differences), text);
    }
}

}  // namespace
