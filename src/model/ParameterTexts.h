#pragma once
// The texts under which the channel panel shows stored codes, shared by the
// panel and filtaro-cli so that both show a value the same way. Each lookup
// returns "" for a code that no list item represents (files bring any value).

#include <array>
#include <string_view>

#include "model/ChannelRecord.h"
#include "model/DelayUnits.h"

// The items of the high-pass and low-pass type lists; the index is the code.
constexpr std::array<std::string_view, 10> FilterTypeTexts = {
    "Off",
    "Highpass 6 dB/Oct",
    "Butterworth 12 dB/Oct",
    "Butterworth 18 dB/Oct",
    "Butterworth 24 dB/Oct",
    "Bessel 12 dB/Oct",
    "Bessel 18 dB/Oct",
    "Bessel 24 dB/Oct",
    "Linkwitz-Riley 12 dB/Oct",
    "Linkwitz-Riley 24 dB/Oct",
};

// The Q lists: EQ1..EQ4 (code = index + 1), EQ5 and EQ6 without shelving
// (the same Q values, always with one decimal), and EQ5 and EQ6 with
// shelving (code = index + EqQCodeFirstShelf).
constexpr std::array<std::string_view, 20> EqQTexts = {
    "0.5", "1.0", "1.5", "2", "2.5", "3", "3.5", "4", "4.5", "5",
    "5.5", "6",   "6.5", "7", "7.5", "8", "8.5", "9", "9.5", "10",
};
constexpr std::array<std::string_view, 20> EqQTextsShelfBands = {
    "0.5", "1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0", "4.5", "5.0",
    "5.5", "6.0", "6.5", "7.0", "7.5", "8.0", "8.5", "9.0", "9.5", "10.0",
};
constexpr std::array<std::string_view, 3> EqQTextsShelving = {"0.3", "0.5", "0.7"};

// The labels of the input codes 0, 1, 2.
constexpr std::array<std::string_view, 3> InputTexts = {"L", "R", "L+R"};

// EQ5 (band 4) can be a low shelf and EQ6 (band 5) a high shelf.
constexpr bool eqBandCanShelve(int band) {
    return band == 4 || band == 5;
}

// True when band `band` (0..5) is in shelving mode with this Q code.
constexpr bool isShelvingQCode(int band, int code) {
    return eqBandCanShelve(band) && code >= EqQCodeFirstShelf && code <= EqQCodeLast;
}

template <std::size_t N>
constexpr std::string_view itemText(const std::array<std::string_view, N>& items, long long index) {
    return index >= 0 && index < static_cast<long long>(N) ? items[static_cast<std::size_t>(index)]
                                                           : std::string_view();
}

constexpr std::string_view filterTypeText(int code) {
    return itemText(FilterTypeTexts, code);
}

constexpr std::string_view inputText(int code) {
    return itemText(InputTexts, code);
}

// The Q that the Q list of band `band` (0..5 for EQ1..EQ6) shows for `code`.
constexpr std::string_view eqQText(int band, int code) {
    if (isShelvingQCode(band, code)) {
        return itemText(EqQTextsShelving, static_cast<long long>(code) - EqQCodeFirstShelf);
    }
    if (eqBandCanShelve(band)) {
        return itemText(EqQTextsShelfBands, static_cast<long long>(code) - 1);
    }
    if (band >= 0 && band < EqBandCount) {
        return itemText(EqQTexts, static_cast<long long>(code) - 1);
    }
    return {};
}
