#include "ui/PanelLogic.h"

#include <algorithm>
#include <charconv>

#include "model/DelayUnits.h"

SpinRange delaySpinRange(int channel) {
    return channel < 4 ? SpinRange{0, 420} : SpinRange{0, 2801};
}

SpinRange eqSpinRange(int row, bool shelving) {
    if (shelving && row == LowShelfRow) return LowShelfFrequencyRange;
    if (shelving && row == HighShelfRow) return HighShelfFrequencyRange;
    return EqFrequencyRange;
}

int spinApply(int pos, int delta, SpinRange range) {
    const long long next = static_cast<long long>(pos) + delta;
    return static_cast<int>(std::clamp<long long>(next, range.lo, range.hi));
}

std::string delayText(int taps) {
    char number[64];
    const auto result =
        std::to_chars(number, number + sizeof number, taps * MmPerTap, std::chars_format::fixed, 1);
    return "Taps entsprechen " + std::string(number, result.ptr) + " mm";
}

std::string delayToolTip(int taps) {
    char ms[64];
    const auto msEnd =
        std::to_chars(ms, ms + sizeof ms, delayMilliseconds(taps), std::chars_format::fixed, 3);
    char mm[32];
    const auto mmEnd = std::to_chars(mm, mm + sizeof mm, MmPerTap, std::chars_format::fixed, 2);
    char us[32];
    const auto usEnd =
        std::to_chars(us, us + sizeof us, SecondsPerTap * 1e6, std::chars_format::fixed, 2);
    return "Verzögerung " + std::string(ms, msEnd.ptr) +
           " ms (1 Tap = " + std::string(mm, mmEnd.ptr) + " mm = " + std::string(us, usEnd.ptr) +
           " µs)";
}

ItemTexts eqQItems(int row, bool shelving) {
    if (!eqBandCanShelve(row)) return EqQTexts;
    if (shelving) return EqQTextsShelving;
    return EqQTextsShelfBands;
}

int levelIndexToDb(int index) {
    return index >= 0 && index <= 12 ? 6 - index : 0;
}
int eqLevelIndexToDb(int index) {
    return index >= 0 && index <= 18 ? 6 - index : 0;
}
int dbToLevelIndex(int db) {
    return db >= -6 && db <= 6 ? 6 - db : -1;
}
int dbToEqLevelIndex(int db) {
    return db >= -12 && db <= 6 ? 6 - db : -1;
}

std::string unlistedItemText(int field, int value) {
    bool level = field == static_cast<int>(ChannelField::level);
    bool q = false;
    for (int e = 0; e < EqBandCount; ++e) {
        level = level || field == eqLevelField(e);
        q = q || field == eqQField(e);
    }
    if (level) return std::to_string(value);
    return (q ? "#" : "Code ") + std::to_string(value);
}

int qIndexToCode(int index, bool shelving) {
    return shelving ? index + ShelfQCodeBase : index + 1;
}

int qCodeToIndex(int code, bool shelving) {
    // Codes come from files unchecked; keep the subtraction from overflowing.
    const long long index = static_cast<long long>(code) - (shelving ? ShelfQCodeBase : 1);
    return static_cast<int>(std::clamp<long long>(index, -1, 1000));
}

std::optional<int> inputFromStepperText(const std::string& text) {
    if (text == "0") return 0;
    if (text == "1") return 1;
    if (text == "2") return 2;
    return std::nullopt;
}

ShelfSwitch shelfSwitchValues(int row, bool on) {
    const SpinRange range = eqSpinRange(row, on);
    const int qCode = on ? 22 : 2;
    const int frequency = row == LowShelfRow ? (on ? 200 : 2000) : (on ? 10000 : 6000);
    return {frequency, qCode, 0, qCodeToIndex(qCode, on), range};
}
