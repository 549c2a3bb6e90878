#pragma once
// Filter texts of Room EQ Wizard ("Filter Settings" export) and Equalizer
// APO (configuration lines), read line by line. REW's export is a subset of
// APO's syntax with a header of its own, so one reader serves both:
//
//   Preamp: -4.5 dB
//   Channel: L
//   Filter 1: ON PK Fc 63 Hz Gain -5,5 dB Q 4.3
//   Filter 2: ON LSC 12 dB Fc 105 Hz Gain 3 dB
//   Filter 3: OFF HSC Fc 8000 Hz Gain 2 dB Q 0.7
//   Delay: 0.5 ms
//
// Every line is either read, a comment, part of REW's header, or reported as
// an issue with its line number; nothing is guessed.
//
// Equalizer APO's "If:", "ElseIf:", "Else:" and "EndIf:" lines make blocks
// that apply under a condition. The device has no sample rate, so of a block
// whose conditions all ask for the sample rate ("If: sampleRate == 48000")
// the lines of its "Else:" branch are read, as those that hold at any rate;
// every other line under a condition is reported as not taken over.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/FilterDefinitions.h"

enum class TextFilterType { Peaking, LowShelf, HighShelf, HighPass, LowPass };

struct TextFilter {
    TextFilterType type = TextFilterType::Peaking;
    std::string typeName;    // as written, with a slope if one is part of it ("LS 12dB")
    bool enabled = true;     // false for a filter switched OFF
    double frequency = 0.0;  // Hz as written ("Fc")
    double gainDb = 0.0;     // peaking and shelves
    // The Q the filter stands for: given as Q, converted from a bandwidth in
    // octaves (peaking) or from a slope (shelves), or the format's default
    // when none is given (shelves: slope 0.9, passes: 1/sqrt(2)).
    double q = 0.0;
    bool qGiven = false;            // the text gave a Q (or bandwidth) itself
    double slopeDbPerOctave = 0.0;  // shelves given by a slope; 0 otherwise
    // A shelf whose "Fc" is its corner frequency (FilterDefinitions.h,
    // apoShelfFrequencyIsCorner()); `section` then has the midpoint.
    bool cornerFrequency = false;
    // What Equalizer APO and REW play for the line.
    CookbookFilter section;
};

enum class TextEntryKind { Filter, Preamp, Delay };

struct TextEntry {
    int line = 0;      // 1-based
    std::string text;  // the line, trimmed
    TextEntryKind kind = TextEntryKind::Filter;
    TextFilter filter;   // kind Filter
    double value = 0.0;  // Preamp in dB, Delay in ms
    // The channels the last "Channel:" line selected; empty means every channel.
    std::vector<std::string> channels;
    // A filter in the "Else:" branch of a block of sample-rate conditions:
    // the IIR filters the block's other branches give for their rates (an
    // export of this program writes a shelf so, see FilterExport.h).
    std::vector<RateBiquad> rateBiquads;
    std::vector<int> rateBiquadLines;  // the lines they stand in
};

enum class TextIssueKind {
    Unreadable,   // the line does not follow the format
    Unsupported,  // a correct line that the device has no counterpart for
};

struct TextIssue {
    int line = 0;
    std::string text;  // the line, trimmed; a long one cut after 120 bytes, with "…"
    TextIssueKind kind = TextIssueKind::Unreadable;
    std::string reason;  // German, for the user
};

// Of each kind of issue the first ones are kept whole; the rest are counted
// (a text of millions of broken lines must not make a report of as many).
constexpr std::size_t TextIssueListLimit = 10;

struct FilterTextDocument {
    bool rewHeader = false;  // began with REW's "Filter Settings file" header
    // The channel names of the "Channel:" lines ("L", "R", "2", ...), in the
    // order they first appear; "all" is no block of its own.
    std::vector<std::string> blocks;
    std::vector<TextEntry> entries;
    // In the order of the text: at most TextIssueListLimit of each kind.
    std::vector<TextIssue> issues;
    long long moreUnreadable = 0;   // unreadable lines beyond those listed
    long long moreUnsupported = 0;  // lines not taken over beyond those listed
};

FilterTextDocument parseFilterText(std::string_view text);

// True when `name` is one of the document's blocks (letter case aside).
bool hasBlock(const FilterTextDocument& document, std::string_view name);

// The entries that apply to channel block `name`: those outside any block
// (before the first "Channel:" line or under "Channel: all") and those of
// every block that names it. With an empty name: every entry.
std::vector<TextEntry> entriesForBlock(const FilterTextDocument& document, std::string_view name);
