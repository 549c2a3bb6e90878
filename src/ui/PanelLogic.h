#pragma once
// The channel panel's rules without any widget: the items of its lists, how
// a list index or a spin position maps to a ChannelRecord field, the spin
// ranges, the fixed values of the shelf switches and the delay text. The
// panel (CChannelPanel) only moves these values between widgets and the image.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/ParameterTexts.h"

constexpr int ShelfQCodeBase = EqQCodeFirstShelf;  // index 0 of a shelving Q list
constexpr int LowShelfRow = 4;                     // EQ5
constexpr int HighShelfRow = 5;                    // EQ6

struct SpinRange {
    int lo;
    int hi;
    friend bool operator==(const SpinRange&, const SpinRange&) = default;
};

constexpr SpinRange HpFrequencyRange{15, 10000};
constexpr SpinRange LpFrequencyRange{40, 19500};
constexpr SpinRange EqFrequencyRange{20, 19500};
constexpr SpinRange LowShelfFrequencyRange{40, 10000};
constexpr SpinRange HighShelfFrequencyRange{200, 15000};
constexpr SpinRange InputRange{0, 2};

// Channels 1..4 (index 0..3) have the short delay line of 420 taps, channels
// 5 and 6 the long one of 2801 taps.
SpinRange delaySpinRange(int channel);
// Frequency range of EQ row `row` (0..5); EQ5 and EQ6 narrow it while shelving.
SpinRange eqSpinRange(int row, bool shelving);

// Position after a spin applies `delta` to `pos`: clamped, never wrapping.
int spinApply(int pos, int delta, SpinRange range);

// "Taps entsprechen %.1f mm" for `taps` x 3.57 mm, always with a decimal
// point whatever the process locale.
std::string delayText(int taps);
// The delay text's tooltip: the same delay as a time, "Verzögerung 1.041 ms
// (1 Tap = 3.57 mm = 10.41 µs)", with a decimal point.
std::string delayToolTip(int taps);

// Item texts of the lists, index 0 first. The type and Q lists are the
// shared texts of ParameterTexts.h.
using ItemTexts = std::span<const std::string_view>;
constexpr std::array<std::string_view, 13> LevelTexts = {"6",  "5",  "4",  "3",  "2",  "1", "0",
                                                         "-1", "-2", "-3", "-4", "-5", "-6"};
constexpr std::array<std::string_view, 19> EqGainTexts = {
    "6",  "5",  "4",  "3",  "2",  "1",  "0",   "-1",  "-2", "-3",
    "-4", "-5", "-6", "-7", "-8", "-9", "-10", "-11", "-12"};
// The Q list of EQ row `row` (0..5) in the given mode.
ItemTexts eqQItems(int row, bool shelving);

// List index <-> stored dB: index = 6 - dB. An index no item has maps to
// 0 dB, a level no item represents to index -1 (the list then shows the
// level as an entry of its own that cannot be picked).
int levelIndexToDb(int index);
int eqLevelIndexToDb(int index);
int dbToLevelIndex(int db);
int dbToEqLevelIndex(int db);

// How a list shows a stored value that none of its items stands for: a
// level or gain as its dB ("7", "-13"), a type by its code ("Code 12"), a Q
// by its code in the narrow Q lists ("#30"). `field` is the ChannelRecord
// field of the list.
std::string unlistedItemText(int field, int value);

// Q list index <-> Q code: code = index + 1, or index + 21 in shelving mode.
// qCodeToIndex may give an index outside the list; the list then shows no
// selection.
int qIndexToCode(int index, bool shelving);
int qCodeToIndex(int code, bool shelving);
// The input spin writes the digits "0".."2" into the field; the code they
// stand for, or nothing for any other text (such as a label).
std::optional<int> inputFromStepperText(const std::string& text);

// The fixed values that switching a shelf on or off gives its EQ row.
struct ShelfSwitch {
    int frequency;
    int qCode;
    int level;
    int qIndex;  // item selected in the refilled Q list
    SpinRange range;
};
ShelfSwitch shelfSwitchValues(int row, bool on);
