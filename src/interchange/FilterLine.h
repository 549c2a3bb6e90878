#pragma once
// The parameters of one "Filter:" line ("ON PK Fc 63 Hz Gain -5 dB Q 4").
// Internal to the filter text reader.

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
