#pragma once
// A channel as the sections an export writes, in the order they act:
// high-pass, low-pass, EQ1..EQ6. Internal to the exports.

#include <optional>
#include <string>
#include <vector>

#include "interchange/FilterDefinitions.h"
#include "interchange/FilterExport.h"
#include "response/AnalogSection.h"

struct ExportSection {
    AnalogSection section;
    std::string role;  // German: "Hochpass", "Tiefpass", "EQ3"
};

// With `mergeFirstOrderPairs`, two equal first-order sections (a
// Linkwitz-Riley 12) become the second-order section with Q 0.5 that they
// are, for formats without first-order sections.
std::vector<ExportSection> channelSections(const ChannelRecord& record, bool mergeFirstOrderPairs);

// The cookbook section that is the same filter as the device's section: a
// peaking band with its Q converted, the high- and low-passes as they are.
// None for a shelf, which no cookbook section equals (ShelfFit.h).
std::optional<CookbookFilter> equalCookbookFilter(const AnalogSection& s);

// False for a section whose values no other program takes: a frequency that
// is not above 0, or a Q that is not above 0 (fields from a damaged file).
bool hasUsableValues(const AnalogSection& s);

// "Kanal 3" or "Kanal 3 \"Bass links\"".
std::string channelLabel(const ExportChannel& channel);

// The name as one printable line: control characters become blanks and
// bytes that are no UTF-8 become '?', so that no export can be broken by it.
std::string printableName(const std::string& name);

// "Hochpass 1. Ordnung bei 80 Hz" and the like, for warnings.
std::string describeSection(const ExportSection& s);
