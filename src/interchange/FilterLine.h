#pragma once
// The parameters of one "Filter:" line ("ON PK Fc 63 Hz Gain -5 dB Q 4").
// Internal to the filter text reader.

#include <optional>
#include <string>
#include <string_view>

#include "interchange/FilterText.h"

struct FilterLineResult {
    enum class Outcome { Filter, Empty, Issue } outcome = Outcome::Issue;
    TextFilter filter;  // Outcome Filter
    TextIssueKind issueKind = TextIssueKind::Unreadable;
    std::string reason;  // Outcome Issue, German
};

// Empty: REW's placeholder "None" (an unused filter slot).
FilterLineResult parseFilterParameters(std::string_view parameters);

// Equalizer APO's second-order IIR filter, "ON IIR Order 2 Coefficients
// b0 b1 b2 a0 a1 a2", normalised to a0 = 1; none for anything else.
std::optional<Biquad> parseIirParameters(std::string_view parameters);

// The rate of a condition that asks for exactly one sample rate
// ("sampleRate == 48000"); none for any other.
std::optional<double> singleSampleRate(std::string_view condition);
