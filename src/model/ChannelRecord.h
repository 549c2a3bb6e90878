#pragma once
// One channel of one preset: 26 signed 32-bit fields, in this order.

#include <array>
#include <cstdint>

constexpr int ChannelRecordFieldCount = 26;
constexpr int EqBandCount = 6;

enum class ChannelField : int {
    level = 0,        // whole dB, -6..+6
    hpFrequency = 1,  // Hz
    hpType = 2,       // FilterType code 0..9
    lpFrequency = 3,  // Hz
    lpType = 4,       // FilterType code 0..9
    reserved = 5,     // moves only with whole records and files; never sent
    input = 6,        // 0 = "L", 1 = "R", 2 = "L+R"
    delayTaps = 7,    // taps; 3.57 mm each
};

// Equaliser e (0..5) occupies fields 8 + 3e, 9 + 3e and 10 + 3e.
constexpr int eqFrequencyField(int e) {
    return 8 + 3 * e;
}
constexpr int eqQField(int e) {
    return 9 + 3 * e;
}
constexpr int eqLevelField(int e) {
    return 10 + 3 * e;
}

// Filter type codes of `hpType` and `lpType` (the panel's list indices).
enum FilterTypeCode : int {
    FilterOff = 0,
    FilterFirstOrder = 1,  // 6 dB/Oct
    FilterButterworth12 = 2,
    FilterButterworth18 = 3,
    FilterButterworth24 = 4,
    FilterBessel12 = 5,
    FilterBessel18 = 6,
    FilterBessel24 = 7,
    FilterLinkwitzRiley12 = 8,
    FilterLinkwitzRiley24 = 9,
};

// Q codes of `eqQ`: 1..20 peaking with Q = code / 2; 21, 22, 23 (EQ5 and EQ6
// only) shelving with Q 0.3, 0.5 and 0.7.
constexpr int EqQCodeFirstShelf = 21;
constexpr int EqQCodeLast = 23;

struct EqBand {
    std::int32_t frequency = 0;
    std::int32_t q = 0;
    std::int32_t level = 0;
    friend bool operator==(const EqBand&, const EqBand&) = default;
};

struct ChannelRecord {
    std::int32_t level = 0;
    std::int32_t hpFrequency = 0;
    std::int32_t hpType = 0;
    std::int32_t lpFrequency = 0;
    std::int32_t lpType = 0;
    std::int32_t reserved = 0;
    std::int32_t input = 0;
    std::int32_t delayTaps = 0;
    std::array<EqBand, EqBandCount> eq{};

    std::array<std::int32_t, ChannelRecordFieldCount> toFields() const;
    static ChannelRecord fromFields(const std::array<std::int32_t, ChannelRecordFieldCount>& f);

    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;
};
