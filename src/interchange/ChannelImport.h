#pragma once
// Putting a filter text onto one channel the device can hold, and the report
// of how that went: every filter as read and as it will be set, every
// rounding and every filter that could not be taken over.
//
// Rules:
// - Peaking bands and shelves go onto EQ1..EQ6 in the order of the text;
//   a low shelf only onto EQ5, a high shelf only onto EQ6, each with Q 0.3,
//   0.5 or 0.7. With more filters than bands, those with the largest |gain|
//   are kept. Bands the text leaves free get 0 dB.
// - Frequencies go onto the nearest grid point in the field's range, Q onto
//   the nearest Q code, gains to whole dB within -12..+6.
// - The sum of the Preamp lines becomes the channel level (-6..+6), the sum
//   of the Delay lines the delay in taps.
// - The high-pass and low-pass sections become the device's type and corner
//   that come nearest (CrossoverFit.h).
// What the text does not mention (no EQ filter, no Preamp, ...) stays as the
// channel has it.

#include <string>
#include <vector>

#include "interchange/FilterText.h"
#include "model/ChannelRecord.h"

enum class ImportItemStatus {
    Exact,     // set as read
    Adjusted,  // set, with the roundings and limits in the notes
    Dropped,   // not taken over; the notes say why
    Off,       // switched off in the text
};

struct ImportItem {
    std::vector<int> lines;  // the text lines it comes from
    std::string asRead;      // German: the filter as read
    std::string asSet;       // German: what the channel gets; empty when not taken over
    ImportItemStatus status = ImportItemStatus::Exact;
    std::vector<std::string> notes;  // German, one per rounding, limit or reason
};

struct ImportReport {
    ChannelRecord record;  // the channel with the text applied
    std::vector<ImportItem> items;
    std::vector<TextIssue> issues;  // lines not read or not taken over
    std::vector<int> freeBands;     // EQ bands (0..5) the text left free, set to 0 dB
    bool setsEq = false;
    bool setsLevel = false;
    bool setsHighPass = false;
    bool setsLowPass = false;
    bool setsDelay = false;
    // The largest difference between the filters as read and as set, over
    // 20 Hz to 20 kHz, and where it is.
    double maxDifferenceDb = 0.0;
    double maxDifferenceHz = 0.0;

    bool changesSomething() const {
        return setsEq || setsLevel || setsHighPass || setsLowPass || setsDelay;
    }
};

// `entries` as entriesForBlock() gives them; `channel` (0..5) decides the
// length of the delay line.
ImportReport mapOntoChannel(const std::vector<TextEntry>& entries, const ChannelRecord& current,
                            int channel);

// The report as lines of text for a console or a list (German).
std::vector<std::string> importReportLines(const ImportReport& report);
// The words of a status ("angepasst", ...) and of an unread line's kind
// ("nicht lesbar", "nicht übernommen").
std::string importStatusText(ImportItemStatus status);
std::string issueStatusText(const TextIssue& issue);
// What stands below the filters: the bands left free, if any, and the
// largest difference (or that the text sets nothing), one line each.
std::vector<std::string> importSummaryLines(const ImportReport& report);
