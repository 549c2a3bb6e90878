#include <gtest/gtest.h>

#include <cmath>

#include "interchange/FieldMapping.h"
#include "interchange/FilterImport.h"
#include "model/ParameterImage.h"
#include "model/ParameterTexts.h"

namespace {

ChannelRecord defaultRecord() {
    ParameterImage image;
    applyDefaults(image);
    return image.record(0, 0);
}

ImportReport importText(const std::string& text, const ChannelRecord& current = defaultRecord(),
                        int channel = 0) {
    const FilterImport r = importFilterText(text, current, channel);
    EXPECT_EQ(r.status, FilterImportStatus::Ready);
    return r.report;
}

TEST(FieldMapping, ValuesGoOntoTheFieldsAtTheirEdges) {
    using namespace ParameterLimits;
    struct Frequency {
        double hz;
        Range range;
        int expected;
    };
    const Frequency frequencies[] = {
        {1000, eqFrequency, 1000},      {1024, eqFrequency, 1000},
        {1026, eqFrequency, 1050},      {57.4, eqFrequency, 55},
        {57.5, eqFrequency, 60},        {5, eqFrequency, 20},
        {19999, eqFrequency, 19500},    {25000, eqFrequency, 19500},
        {20, lowShelfFrequency, 40},    {12000, lowShelfFrequency, 10000},
        {150, highShelfFrequency, 200}, {16000, highShelfFrequency, 15000},
        {12, hpFrequency, 15},          {30, lpFrequency, 40},
    };
    for (const Frequency& f : frequencies) {
        EXPECT_EQ(nearestGridFrequency(f.hz, f.range), f.expected) << f.hz;
    }
    const std::pair<double, int> peaking[] = {{0.1, 1},  {0.74, 1}, {0.75, 2},
                                              {1.41, 3}, {9.8, 20}, {25, 20}};
    for (const auto& [q, code] : peaking) EXPECT_EQ(nearestPeakingQCode(q), code) << q;
    const std::pair<double, int> shelving[] = {{0.1, 21},  {0.39, 21}, {0.41, 22},
                                               {0.59, 22}, {0.61, 23}, {2, 23}};
    for (const auto& [q, code] : shelving) EXPECT_EQ(nearestShelfQCode(q), code) << q;
    const std::pair<double, int> gains[] = {{-13, -12}, {-12.4, -12}, {-0.5, -1}, {0.49, 0},
                                            {2.5, 3},   {6.4, 6},     {9, 6}};
    for (const auto& [db, whole] : gains) EXPECT_EQ(wholeDb(db, eqGain), whole) << db;
    EXPECT_EQ(delayTapsFor(1.0, 0), 96);  // 1 ms / 10.41 us
    EXPECT_EQ(delayTapsFor(5.0, 3), 420);
    EXPECT_EQ(delayTapsFor(5.0, 4), 480);
    EXPECT_EQ(delayTapsFor(-1.0, 5), 0);
    EXPECT_NEAR(delayMilliseconds(96), 96 * 3.57 / 343.0, 1e-12);
}

TEST(ChannelImport, KeepsTheSixLargestGainsInTextOrderAndNamesTheDropped) {
    const ImportReport r = importText(
        "Filter: ON PK Fc 50 Hz Gain -1 dB Q 2\n"  // smallest |gain|: dropped
        "Filter: ON PK Fc 100 Hz Gain -6 dB Q 2\n"
        "Filter: ON PK Fc 200 Hz Gain 3 dB Q 2\n"
        "Filter: ON PK Fc 400 Hz Gain -4 dB Q 2\n"
        "Filter: ON PK Fc 800 Hz Gain -1.5 dB Q 2\n"  // second smallest: dropped
        "Filter: ON PK Fc 1600 Hz Gain 2 dB Q 2\n"
        "Filter: ON PK Fc 3200 Hz Gain -5 dB Q 2\n"
        "Filter: ON PK Fc 6500 Hz Gain 4 dB Q 2\n");
    const int frequencies[] = {100, 200, 400, 1600, 3200, 6500};
    for (int e = 0; e < EqBandCount; ++e) {
        EXPECT_EQ(r.record.eq[e].frequency, frequencies[e]) << e;
        EXPECT_EQ(r.record.eq[e].q, 4) << e;
    }
    ASSERT_EQ(r.items.size(), 8u);
    EXPECT_EQ(r.items[0].status, ImportItemStatus::Dropped);
    EXPECT_EQ(r.items[4].status, ImportItemStatus::Dropped);
    EXPECT_EQ(r.items[1].status, ImportItemStatus::Exact);
    EXPECT_EQ(r.items[1].asSet, "EQ1: 100 Hz, -6 dB, Q 2");
    EXPECT_TRUE(r.freeBands.empty());
    // The dropped bands are what the setting lacks.
    EXPECT_GT(r.maxDifferenceDb, 1.0);
    EXPECT_LT(r.maxDifferenceDb, 1.6);
}

TEST(ChannelImport, ShelvesGoOnlyOntoEq5AndEq6WithShelvingQ) {
    ChannelRecord current = defaultRecord();
    current.input = 2;
    current.reserved = 77;
    current.level = 3;
    current.lpType = FilterButterworth24;
    const ImportReport r = importText(
        "Filter: ON LSC Fc 30 Hz Gain 2 dB Q 0.45\n"  // a second low shelf, smaller: dropped
        "Filter: ON HSC Fc 9000 Hz Gain -3 dB Q 0.9\n"
        "Filter: ON PK Fc 1234 Hz Gain -2.4 dB Q 3.3\n"
        "Filter: ON LSC Fc 80 Hz Gain 5 dB Q 0.3\n"
        "Filter: OFF PK Fc 300 Hz Gain 6 dB Q 1\n",
        current);
    const ChannelRecord& set = r.record;
    EXPECT_EQ(set.eq[0], (EqBand{1250, 7, -2}));   // Q 3.3 -> 3.5, on the grid
    EXPECT_EQ(set.eq[4], (EqBand{80, 21, 5}));     // low shelf on EQ5
    EXPECT_EQ(set.eq[5], (EqBand{9000, 23, -3}));  // high shelf on EQ6, Q 0.9 -> 0.7
    for (int e : {1, 2, 3}) {
        EXPECT_EQ(set.eq[e].level, 0);
        EXPECT_EQ(set.eq[e].frequency, current.eq[e].frequency);
    }
    EXPECT_EQ(r.freeBands, (std::vector<int>{1, 2, 3}));
    // What the text does not mention stays.
    EXPECT_EQ(set.input, 2);
    EXPECT_EQ(set.reserved, 77);
    EXPECT_EQ(set.level, 3);
    EXPECT_EQ(set.lpType, FilterButterworth24);
    EXPECT_FALSE(r.setsLevel || r.setsHighPass || r.setsLowPass || r.setsDelay);

    ASSERT_EQ(r.items.size(), 5u);
    EXPECT_EQ(r.items[0].status, ImportItemStatus::Dropped);
    EXPECT_NE(r.items[0].notes.front().find("EQ5"), std::string::npos);
    EXPECT_EQ(r.items[1].status, ImportItemStatus::Adjusted);
    EXPECT_EQ(r.items[1].asSet, "EQ6 (Höhen-Shelf): 9000 Hz, -3 dB, Q 0.7");
    EXPECT_EQ(r.items[2].notes.size(), 3u);  // frequency, Q and gain rounded
    EXPECT_EQ(r.items[3].status, ImportItemStatus::Exact);
    EXPECT_EQ(r.items[4].status, ImportItemStatus::Off);
}

TEST(ChannelImport, PreampDelayAndCrossoverSetTheirFieldsWithinLimits) {
    const ImportReport r = importText(
        "Preamp: -5 dB\n"
        "Preamp: -3.4 dB\n"
        "Delay: 3 ms\n"
        "Delay: 3 ms\n"
        "Filter: ON HP Fc 80 Hz\n"
        "Filter: ON LPQ Fc 2000 Hz Q 0.5\n",
        defaultRecord(), 1);
    EXPECT_EQ(r.record.level, -6);       // -8.4 dB, limited
    EXPECT_EQ(r.record.delayTaps, 420);  // 6 ms, the short line's end
    EXPECT_EQ(r.record.hpType, FilterButterworth12);
    EXPECT_EQ(r.record.hpFrequency, 80);
    EXPECT_EQ(r.record.lpType, FilterLinkwitzRiley12);  // Q 0.5 = two first-order sections
    EXPECT_EQ(r.record.lpFrequency, 2000);
    EXPECT_FALSE(r.setsEq);
    ASSERT_EQ(r.items.size(), 4u);
    EXPECT_EQ(r.items[0].lines, (std::vector<int>{1, 2}));
    EXPECT_NE(r.items[0].notes.front().find("begrenzt"), std::string::npos);
    EXPECT_EQ(r.items[1].lines, (std::vector<int>{3, 4}));
    EXPECT_EQ(r.items[2].asSet, "Hochpass: Butterworth 12 dB/Oct, 80 Hz");
    EXPECT_EQ(r.items[2].status, ImportItemStatus::Adjusted);  // Q 0.707 vs 0.71
    EXPECT_EQ(r.items[3].status, ImportItemStatus::Exact);
    // The level limit is the largest difference.
    EXPECT_NEAR(r.maxDifferenceDb, 2.4, 0.05);
}

TEST(ChannelImport, BlocksMustBeChosenWhenThereAreSeveral) {
    const std::string text =
        "Channel: L\nFilter: ON PK Fc 50 Hz Gain -4 dB Q 2\n"
        "Channel: R\nFilter: ON PK Fc 60 Hz Gain -5 dB Q 2\n";
    const ChannelRecord current = defaultRecord();
    FilterImport r = importFilterText(text, current, 0);
    EXPECT_EQ(r.status, FilterImportStatus::ChooseBlock);
    EXPECT_EQ(r.blocks, (std::vector<std::string>{"L", "R"}));
    EXPECT_EQ(importFilterText(text, current, 0, "SUB").status, FilterImportStatus::UnknownBlock);
    r = importFilterText(text, current, 0, "r");
    ASSERT_EQ(r.status, FilterImportStatus::Ready);
    EXPECT_EQ(r.report.record.eq[0], (EqBand{60, 4, -5}));

    const ImportReport nothing = importText("Filter: ON XX Fc 1 Hz\n# nur das\n");
    EXPECT_FALSE(nothing.changesSomething());
    EXPECT_EQ(nothing.record, current);
    ASSERT_EQ(nothing.issues.size(), 1u);
    const auto lines = importReportLines(nothing);
    EXPECT_NE(lines.front().find("Zeile 1 nicht lesbar"), std::string::npos) << lines.front();
}

}  // namespace
