#pragma once
// Changes of the settings as the undo history sees them. The settings are
// what the user edits: the 24 channel records and the plot's frequency range.
// The rest of the image is view state (the preset and tab shown, the curves
// shown, the redraw flag) or comes only with a file or the device (the
// working directory, the channel count, the spare byte): an Open or a receive
// changes those as a whole, an edit in the window never does.

#include <string>

#include "model/ParameterImage.h"

// Whether `a` and `b` hold the same settings.
bool sameSettings(const ParameterImage& a, const ParameterImage& b);

// Whether `image` holds the settings of applyDefaults: nothing of the user's.
bool holdsDefaultSettings(const ParameterImage& image);

// `image` with the settings of `settings`.
ParameterImage withSettingsOf(const ParameterImage& image, const ParameterImage& settings);

struct SettingsEdit {
    // What the edit changed, for the menu ("Rückgängig: EQ3 Pegel Kanal 2").
    std::string name;
    // 1 + the field's place among the 624 fields of the four presets when
    // exactly one field changed, else 0. Successive edits of one field (a
    // spin held down, a number typed digit by digit) have the same key and
    // make one undo step.
    int fieldKey = 0;
};

// The edit that leads from `before` to `after`: one field "EQ3 Pegel Kanal
// 2"; several fields of one equaliser band "EQ5 Kanal 2" (a shelf switched);
// of one channel "Kanal 2"; several channels of one preset "Preset 3"; the
// plot's range alone "Grafikoptionen"; anything else "Einstellungen".
SettingsEdit describeEdit(const ParameterImage& before, const ParameterImage& after);

// `current` with a step from `from` to `to` played on it (undone: from the
// state after the step to the one before; redone: the other way). Every
// byte that differs between `from` and `to` takes its value in `to`; what
// changed meanwhile without a step of its own (curves shown or hidden)
// stays. The preset shown becomes the one shown at `to`, so the change is in
// view, and the redraw flag is set.
ParameterImage replayStep(const ParameterImage& current, const ParameterImage& from,
                          const ParameterImage& to);
