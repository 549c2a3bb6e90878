#pragma once
// Putting a filter text onto one channel the device can hold, and the report
// of how that went: every filter as read and as it will be set, every
// rounding and every filter that could not be taken over.
//
// Rules:
// - Each filter is taken as the other program plays it (FilterDefinitions.h).
// - A peaking filter becomes the device's peaking band that is the same
//   filter: its Q converted exactly (the device's Q is the cookbook's times
//   10^(G/40)), then onto the Q code nearest in equal ratios; its
//   frequency onto the nearest grid point, its gain to whole dB.
// - A shelf becomes the device shelf (grid frequency, Q 0.3, 0.5 or 0.7,
//   whole dB) nearest to it (ShelfFit.h): a low shelf only EQ5, a high
//   shelf only EQ6.
// - With more filters than bands, or more shelves than the two shelving
//   bands, the filters taken are those that together come closest to the
//   whole text (BandChoice.h). They go onto EQ1..EQ6 in the order of the
//   text; bands the text leaves free get 0 dB.
// - The sum of the Preamp lines becomes the channel level (-6..+6), the sum
//   of the Delay lines the delay in taps.
// - The high-pass and low-pass sections become the device's type and corner
//   that come nearest (CrossoverFit.h).
// What the text does not mention (no EQ filter, no Preamp, ...) stays as the
// channel has it.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "interchange/BandChoice.h"
#include "interchange/FilterDefinitions.h"
#include "interchange/FilterText.h"
#include "interchange/FitGrid.h"
#include "model/ChannelRecord.h"

// Filters not taken and filters switched off are listed up to this many
// each; the rest are counted.
constexpr std::size_t ImportItemListLimit = 10;
// With more EQ filters than this, the band choice considers those with the
// largest |gain|.
constexpr int BandChoiceCandidateLimit = 256;

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

// The text's filters as the other program plays them (FilterDefinitions.h):
// what an import is measured against, and what a refit on the device's grid
// aims at. Only what the text sets is in it.
struct ImportDesign {
    std::vector<AnalogBiquad> eq;              // every EQ filter, taken over or not
    std::vector<AnalogBiquad> passes;          // the high- and low-pass sections
    double levelDb = 0.0;                      // the Preamp lines, when the text has any
    std::array<double, FitPointCount> eqDb{};  // the EQ filters on the fit grid
    // The whole design at f, in dB.
    double db(double f) const;
};

// How far a channel is from a design over 20 Hz to 20 kHz: the largest
// difference, where it is, and the RMS over the fit grid.
struct DesignDifference {
    double maxDb = 0.0;
    double maxHz = 0.0;
    double rmsDb = 0.0;
};

struct ImportReport {
    ChannelRecord record;  // the channel with the text applied
    std::vector<ImportItem> items;
    std::vector<TextIssue> issues;  // lines not read or not taken over
    long long moreUnreadable = 0;   // beyond the issues listed
    long long moreUnsupported = 0;
    long long moreDropped = 0;   // filters not taken, beyond the items listed
    long long moreOff = 0;       // filters switched off, beyond the items listed
    std::vector<int> freeBands;  // EQ bands (0..5) the text left free, set to 0 dB
    // How the EQ filters were chosen, when there was a choice.
    int eqFilterCount = 0;
    BandChoiceMethod bandChoice = BandChoiceMethod::All;
    long long bandSetsTried = 0;
    bool setsEq = false;
    bool setsLevel = false;
    bool setsHighPass = false;
    bool setsLowPass = false;
    bool setsDelay = false;
    // The difference between the text's filters as the other program plays
    // them and the channel as set, over 20 Hz to 20 kHz: the largest, where
    // it is, and the RMS.
    double maxDifferenceDb = 0.0;
    double maxDifferenceHz = 0.0;
    double rmsDifferenceDb = 0.0;
    ImportDesign design;

    bool changesSomething() const {
        return setsEq || setsLevel || setsHighPass || setsLowPass || setsDelay;
    }
};

// `entries` as entriesForBlock() gives them; `channel` (0..5) decides the
// length of the delay line.
ImportReport mapOntoChannel(const std::vector<TextEntry>& entries, const ChannelRecord& current,
                            int channel);

// `record` against the report's design, counting only what the text sets
// (its level, EQ, high- and low-pass), as the report's own difference does.
DesignDifference designDifference(const ImportReport& report, const ChannelRecord& record);

// The report as lines of text for a console or a list (German).
std::vector<std::string> importReportLines(const ImportReport& report);
// The words of a status ("angepasst", ...) and of an unread line's kind
// ("nicht lesbar", "nicht übernommen").
std::string importStatusText(ImportItemStatus status);
std::string issueStatusText(const TextIssue& issue);
// What stands below the filters, one line each: the bands left free, how the
// filters were chosen, what was only counted, and the difference (or that
// the text sets nothing), always last.
std::vector<std::string> importSummaryLines(const ImportReport& report);
