#pragma once
// What the backup chooser says about a backup beside its preview: how its
// settings differ from those on screen, in one sentence.

#include <string>
#include <vector>

#include "device/SettingsCompare.h"

// `differences`: compareSettings(settings on screen, backup). "Gleich den
// Einstellungen jetzt.", "Weicht in einem Wert von den Einstellungen jetzt
// ab: Preset 2, Kanal 3, Pegel -2 dB statt 0 dB.", "Weicht in 8 Werten von
// den Einstellungen jetzt ab, alle in Preset 1." or "Weicht in 7 Werten von
// den Einstellungen jetzt ab: 4 in Preset 1, 3 in Preset 3."
std::string backupDifferenceText(const std::vector<FieldDifference>& differences);
