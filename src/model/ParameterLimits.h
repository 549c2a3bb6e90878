#pragma once
// The ranges within which the channel panel lets each field be set. A file or
// the device may bring any value; these are the values a user can choose, so
// everything that sets fields from elsewhere (imported filter texts) keeps to
// them too.

namespace ParameterLimits {

struct Range {
    int lo;
    int hi;
    constexpr bool contains(int v) const { return v >= lo && v <= hi; }
    constexpr int clamp(int v) const { return v < lo ? lo : v > hi ? hi : v; }
};

constexpr Range level{-6, 6};    // channel level, whole dB
constexpr Range eqGain{-12, 6};  // equaliser gain, whole dB
constexpr Range hpFrequency{15, 10000};
constexpr Range lpFrequency{40, 19500};
constexpr Range eqFrequency{20, 19500};
constexpr Range lowShelfFrequency{40, 10000};    // EQ5 while it is a low shelf
constexpr Range highShelfFrequency{200, 15000};  // EQ6 while it is a high shelf

// Channels 1..4 (index 0..3) have the short delay line, 5 and 6 the long one.
constexpr Range delayTaps(int channel) {
    return channel < 4 ? Range{0, 420} : Range{0, 2801};
}

}  // namespace ParameterLimits
