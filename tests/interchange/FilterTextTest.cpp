#include <gtest/gtest.h>

#include <cmath>

#include "interchange/DecimalText.h"
#include "interchange/FilterText.h"

namespace {

TEST(DecimalText, ReadsPointsCommasAndGroupsAndRefusesTheRest) {
    struct Case {
        const char* text;
        std::optional<double> decimal;
        std::optional<double> frequency;
    };
    const Case cases[] = {
        {"63", 63, 63},
        {"-5,5", -5.5, -5.5},
        {"+3.25", 3.25, 3.25},
        {"1.448", 1.448, 1448},  // REW's thousands, in a frequency only
        {"12,500", 12.5, 12500},
        {"100.5", 100.5, 100.5},
        {"1.234,5", 1234.5, 1234.5},
        {"1,234.5", 1234.5, 1234.5},
        {"2e3", 2000, 2000},
        {"1.2.3", std::nullopt, std::nullopt},
        {"1,23.4", std::nullopt, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"5x", std::nullopt, std::nullopt},
        {"1e999", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseDecimal(c.text), c.decimal) << c.text;
        EXPECT_EQ(parseFrequency(c.text), c.frequency) << c.text;
    }
    EXPECT_EQ(formatDecimal(79.76000000001, 2), "79.76");
    EXPECT_EQ(formatDecimal(-0.001, 2), "0");
    EXPECT_EQ(formatSignedDecimal(3, 1), "+3");
}

// A REW export as a German system writes it: decimal commas, unused slots,
// a filter switched off, a modal filter and shelves with and without slope.
constexpr const char* RewExport =
    "Filter Settings file\r\n"
    "\r\n"
    "Room EQ V5.20.13\r\n"
    "Dated: 14.03.2024 21:07:11\r\n"
    "\r\n"
    "Notes:Wohnzimmer, Hörplatz Mitte\r\n"
    "\r\n"
    "Equaliser: Generic\r\n"
    "Links 96k; Mittelung 3\r\n"
    "Filter  1: ON  PK       Fc   63,50 Hz  Gain  -7,50 dB  Q  4,310\r\n"
    "Filter  2: ON  Modal    Fc   41,2 Hz   Gain  -9,00 dB  Q  11,00  T60 target   300 ms\r\n"
    "Filter  3: ON  LS 12dB  Fc   105,0 Hz  Gain   4,00 dB\r\n"
    "Filter  4: ON  HSC      Fc   8.000 Hz  Gain  -2,50 dB  Q  0,600\r\n"
    "Filter  5: OFF PK       Fc   1.250 Hz  Gain   2,00 dB  Q  1,000\r\n"
    "Filter  6: ON  LS       Fc   200 Hz    Gain  -3,00 dB\r\n"
    "Filter  7: ON  None\r\n";

TEST(FilterText, ReadsRewExportWithHeaderDecimalCommasAndSlopes) {
    const FilterTextDocument d = parseFilterText(RewExport);
    EXPECT_TRUE(d.rewHeader);
    EXPECT_TRUE(d.issues.empty()) << d.issues.front().line << " " << d.issues.front().reason;
    struct Expected {
        int line;
        TextFilterType type;
        bool enabled;
        double frequency, gain, q, slope;
    };
    // Shelves without a Q: slope 12 dB/oct is S = 1, none given is S = 0.9,
    // each turned into a Q with the gain.
    const auto shelfQ = [](double s, double g) {
        const double a = std::pow(10.0, g / 40.0);
        return 1.0 / std::sqrt((a + 1.0 / a) * (1.0 / s - 1.0) + 2.0);
    };
    const Expected expected[] = {
        {10, TextFilterType::Peaking, true, 63.5, -7.5, 4.31, 0},
        {11, TextFilterType::Peaking, true, 41.2, -9, 11, 0},
        {12, TextFilterType::LowShelf, true, 105, 4, shelfQ(1.0, 4), 12},
        {13, TextFilterType::HighShelf, true, 8000, -2.5, 0.6, 0},
        {14, TextFilterType::Peaking, false, 1250, 2, 1, 0},
        {15, TextFilterType::LowShelf, true, 200, -3, shelfQ(0.9, -3), 0},
    };
    ASSERT_EQ(d.entries.size(), std::size(expected));
    for (std::size_t i = 0; i < d.entries.size(); ++i) {
        const TextEntry& e = d.entries[i];
        const Expected& x = expected[i];
        EXPECT_EQ(e.line, x.line);
        EXPECT_EQ(e.kind, TextEntryKind::Filter);
        EXPECT_EQ(e.filter.type, x.type) << x.line;
        EXPECT_EQ(e.filter.enabled, x.enabled) << x.line;
        EXPECT_DOUBLE_EQ(e.filter.frequency, x.frequency) << x.line;
        EXPECT_DOUBLE_EQ(e.filter.gainDb, x.gain) << x.line;
        EXPECT_NEAR(e.filter.q, x.q, 1e-12) << x.line;
        EXPECT_DOUBLE_EQ(e.filter.slopeDbPerOctave, x.slope) << x.line;
    }
    EXPECT_EQ(d.entries[0].text, "Filter  1: ON  PK       Fc   63,50 Hz  Gain  -7,50 dB  Q  4,310");
    // "LS 12dB" gives its corner (the midpoint lies 10^(4/80) above it);
    // "HSC" and "LS" without a slope give the midpoint.
    EXPECT_TRUE(d.entries[2].filter.cornerFrequency);
    EXPECT_NEAR(d.entries[2].filter.section.frequency, 105 * std::pow(10.0, 4.0 / 80.0), 1e-9);
    for (const std::size_t i : {3u, 5u}) {
        EXPECT_FALSE(d.entries[i].filter.cornerFrequency);
        EXPECT_EQ(d.entries[i].filter.section.frequency, d.entries[i].filter.frequency);
    }
}

TEST(FilterText, ReportsEveryLineItCannotReadOrTakeOverWithItsNumber) {
    const char* text =
        "# Equalizer APO, Wohnzimmer\n"
        "Preamp: -6,5 dB\n"
        "Filter: ON PK Fc 100 Hz Gain 3 dB BW Oct 1\n"
        "Filter 2: ON HPQ Fc 30 Hz Q 0.5\n"
        "Filter 3: ON LP Fc 2000 Hz\n"
        "Delay: 1,25 ms\n"
        "Filter 4: ON BP Fc 100 Hz\n"
        "Filter 5: ON PK Fc 100 Hz Gain 3 dB\n"
        "Filter 6: ON XX Fc 100 Hz\n"
        "Filter 7: PK Fc 100 Hz Gain 3 dB Q 1\n"
        "Filter 8: ON PK Fc hundert Hz Gain 3 dB Q 1\n"
        "Filter 9: ON PK Fc 100 Hz Gain 3 dB Q 1 Q 2\n"
        "GraphicEQ: 25 -2; 40 4\n"
        "Delay: 48 samples\n"
        "Fliter: ON PK Fc 100 Hz Gain 3 dB Q 1\n"
        "irgendein Text\n"
        "Filter 10: ON LSC 96 dB Fc 100 Hz Gain 12 dB\n";
    const FilterTextDocument d = parseFilterText(text);
    EXPECT_FALSE(d.rewHeader);
    ASSERT_EQ(d.entries.size(), 5u);
    EXPECT_EQ(d.entries[0].kind, TextEntryKind::Preamp);
    EXPECT_DOUBLE_EQ(d.entries[0].value, -6.5);
    EXPECT_NEAR(d.entries[1].filter.q, std::sqrt(2.0), 1e-12);  // one octave
    EXPECT_EQ(d.entries[2].filter.type, TextFilterType::HighPass);
    EXPECT_DOUBLE_EQ(d.entries[2].filter.q, 0.5);
    EXPECT_EQ(d.entries[3].filter.type, TextFilterType::LowPass);
    EXPECT_DOUBLE_EQ(d.entries[3].filter.q, 1.0 / std::sqrt(2.0));
    EXPECT_EQ(d.entries[4].kind, TextEntryKind::Delay);
    EXPECT_DOUBLE_EQ(d.entries[4].value, 1.25);

    const std::pair<int, TextIssueKind> issues[] = {
        {7, TextIssueKind::Unsupported},  {8, TextIssueKind::Unreadable},
        {9, TextIssueKind::Unreadable},   {10, TextIssueKind::Unreadable},
        {11, TextIssueKind::Unreadable},  {12, TextIssueKind::Unreadable},
        {13, TextIssueKind::Unsupported}, {14, TextIssueKind::Unsupported},
        {15, TextIssueKind::Unreadable},  {16, TextIssueKind::Unreadable},
        {17, TextIssueKind::Unsupported},
    };
    ASSERT_EQ(d.issues.size(), std::size(issues));
    for (std::size_t i = 0; i < d.issues.size(); ++i) {
        EXPECT_EQ(d.issues[i].line, issues[i].first);
        EXPECT_EQ(d.issues[i].kind, issues[i].second) << d.issues[i].line;
        EXPECT_FALSE(d.issues[i].reason.empty());
    }
    EXPECT_EQ(d.issues[7].text, "Delay: 48 samples");
}

// Equalizer APO's conditions: of a block that asks only for the sample rate
// the "Else:" branch holds at any rate; its IIR branches belong to the
// filter there. Every other line under a condition is named, with why.
TEST(FilterText, ReadsTheElseBranchOfSampleRateBlocks) {
    const char* text =
        "If: sampleRate == 44100\n"
        "Filter 1: ON IIR Order 2 Coefficients 0.5 0.1 0.2 1 -0.3 0.4\n"
        "ElseIf: sampleRate == 48000\n"
        "Filter 1: ON IIR Order 2 Coefficients 1 0.2 0.4 2 -0.6 0.8\n"
        "Else:\n"
        "Filter 1: ON HSC Fc 8000 Hz Gain -3 dB Q 0.7\n"
        "EndIf:\n"
        "If: deviceName == \"Speakers\"\n"
        "Filter 2: ON PK Fc 100 Hz Gain 3 dB Q 1\n"
        "Else:\n"
        "Preamp: -3 dB\n"
        "EndIf:\n"
        "EndIf:\n";
    const FilterTextDocument d = parseFilterText(text);
    ASSERT_EQ(d.entries.size(), 1u);
    const TextEntry& shelf = d.entries[0];
    EXPECT_EQ(shelf.line, 6);
    EXPECT_EQ(shelf.rateBiquadLines, (std::vector<int>{2, 4}));
    ASSERT_EQ(shelf.rateBiquads.size(), 2u);
    EXPECT_EQ(shelf.rateBiquads[1].sampleRate, 48000);
    EXPECT_DOUBLE_EQ(shelf.rateBiquads[1].biquad.b1, 0.1);  // divided by a0
    EXPECT_DOUBLE_EQ(shelf.rateBiquads[1].biquad.a2, 0.4);
    ASSERT_EQ(d.issues.size(), 3u);
    EXPECT_EQ(d.issues[0].line, 9);
    EXPECT_NE(d.issues[0].reason.find("deviceName"), std::string::npos);
    EXPECT_EQ(d.issues[1].line, 11);
    EXPECT_EQ(d.issues[2].line, 13);
    EXPECT_EQ(d.issues[2].kind, TextIssueKind::Unreadable);
}

TEST(FilterText, RefusesValuesNoFilterMeansAndCountsWhatItDoesNotList) {
    const FilterTextDocument tiny = parseFilterText(
        "Filter: ON PK Fc 1e-320 Hz Gain -3 dB Q 1\nFilter: ON PK Fc 100 Hz "
        "Gain -3 dB Q 0.0000001\n");
    ASSERT_EQ(tiny.issues.size(), 2u);
    EXPECT_EQ(tiny.issues[0].kind, TextIssueKind::Unsupported);
    EXPECT_NE(tiny.issues[0].reason.find("1e-320 Hz"), std::string::npos) << tiny.issues[0].reason;
    EXPECT_NE(tiny.issues[1].reason.find("1e-07"), std::string::npos) << tiny.issues[1].reason;

    std::string many;
    for (int i = 0; i < 7000; ++i) many += "kaputt\n";
    many += "Filter: ON XX " + std::string(5000, 'x') + "\n";
    const FilterTextDocument d = parseFilterText(many);
    EXPECT_EQ(d.issues.size(), TextIssueListLimit);
    EXPECT_EQ(d.moreUnreadable, 6991);
    const FilterTextDocument longLine = parseFilterText("Filter: ON XX " + std::string(5000, 'x'));
    EXPECT_EQ(longLine.issues.at(0).text.size(), 120u + std::string("…").size());
}

TEST(FilterText, ChannelBlocksAreListedAndEachTakesWhatAppliesToAll) {
    const char* text =
        "Preamp: -3 dB\n"
        "Channel: L\n"
        "Filter: ON PK Fc 50 Hz Gain -4 dB Q 2\n"
        "Channel: R C\n"
        "Filter: ON PK Fc 60 Hz Gain -5 dB Q 2\n"
        "Channel: all\n"
        "Filter: ON PK Fc 70 Hz Gain -6 dB Q 2\n"
        "Channel: r\n"
        "Preamp: 1 dB\n";
    const FilterTextDocument d = parseFilterText(text);
    EXPECT_EQ(d.blocks, (std::vector<std::string>{"L", "R", "C"}));
    EXPECT_TRUE(hasBlock(d, "c"));
    EXPECT_FALSE(hasBlock(d, "SUB"));
    const auto lines = [&](std::string_view block) {
        std::vector<int> out;
        for (const TextEntry& e : entriesForBlock(d, block)) out.push_back(e.line);
        return out;
    };
    EXPECT_EQ(lines("L"), (std::vector<int>{1, 3, 7}));
    EXPECT_EQ(lines("R"), (std::vector<int>{1, 5, 7, 9}));
    EXPECT_EQ(lines("C"), (std::vector<int>{1, 5, 7}));
    EXPECT_EQ(lines(""), (std::vector<int>{1, 3, 5, 7, 9}));
}

}  // namespace
