#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

#include "interchange/FieldMapping.h"
#include "interchange/FilterImport.h"
#include "model/ParameterImage.h"
#include "model/ParameterTexts.h"
#include "response/ChannelResponse.h"
#include "response/EqResponse.h"

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

// The design as Equalizer APO plays it, written out here from the
// Audio-EQ-Cookbook's analog prototypes: peaking, shelves (Q given, the
// shelf's midpoint) and second-order passes, in dB at f.
struct Design {
    char type;  // 'P', 'L', 'H' (shelves), 'h', 'l' (passes)
    double f0, gainDb, q;
};

double designDb(const std::vector<Design>& filters, double f) {
    double db = 0.0;
    for (const Design& d : filters) {
        const std::complex<double> s(0.0, f / d.f0);
        const double a = std::pow(10.0, d.gainDb / 40.0);
        const double q = d.q;
        std::complex<double> h;
        switch (d.type) {
            case 'P':
                h = (s * s + s * (a / q) + 1.0) / (s * s + s / (a * q) + 1.0);
                break;
            case 'L':
                h = a * (s * s + s * (std::sqrt(a) / q) + a) /
                    (a * s * s + s * (std::sqrt(a) / q) + 1.0);
                break;
            case 'H':
                h = a * (a * s * s + s * (std::sqrt(a) / q) + 1.0) /
                    (s * s + s * (std::sqrt(a) / q) + a);
                break;
            case 'h':
                h = s * s / (s * s + s / q + 1.0);
                break;
            default:
                h = 1.0 / (s * s + s / q + 1.0);
        }
        db += 20.0 * std::log10(std::abs(h));
    }
    return db;
}

// The channel as set, by the device's model.
double channelDb(const ChannelRecord& r, double f) {
    return magnitudeToDb(channelMagnitude(f, r)) + r.level;
}

double coarse(int j) {
    return 20.0 * std::pow(10.0, j / 100.0);
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
    // Nearest in equal ratios: the boundary between Q 0.5 and 1 is 0.707.
    const std::pair<double, int> peaking[] = {{0.1, 1},  {0.70, 1}, {0.71, 2}, {1.22, 2},
                                              {1.23, 3}, {9.8, 20}, {25, 20}};
    for (const auto& [q, code] : peaking) EXPECT_EQ(nearestPeakingQCode(q), code) << q;
    const std::pair<double, int> gains[] = {{-13, -12}, {-12.4, -12}, {-0.5, -1}, {0.49, 0},
                                            {2.5, 3},   {6.4, 6},     {9, 6}};
    for (const auto& [db, whole] : gains) EXPECT_EQ(wholeDb(db, eqGain), whole) << db;
    EXPECT_EQ(delayTapsFor(1.0, 0), 96);  // 1 ms / 10.41 us
    EXPECT_EQ(delayTapsFor(5.0, 3), 420);
    EXPECT_EQ(delayTapsFor(5.0, 4), 480);
    EXPECT_EQ(delayTapsFor(-1.0, 5), 0);
    EXPECT_NEAR(delayMilliseconds(96), 96 * 3.57 / 343.0, 1e-12);
}

TEST(ChannelImport, APeakingFilterBecomesTheSameFilterWhenItsQLandsOnACode) {
    const std::pair<int, int> cases[] = {{-12, 2}, {-7, 5}, {-3, 3}, {2, 8}, {6, 20}};
    for (const auto& [gain, code] : cases) {
        // The cookbook's Q of the device's Q code / 2 at this gain.
        char line[96];
        std::snprintf(line, sizeof line, "Filter: ON PK Fc 1000 Hz Gain %d dB Q %.4f\n", gain,
                      code / 2.0 / std::pow(10.0, gain / 40.0));
        const ImportReport r = importText(line);
        EXPECT_EQ(r.record.eq[0], (EqBand{1000, code, gain})) << line;
        EXPECT_EQ(r.items.at(0).status, ImportItemStatus::Exact) << line;
        const Design design{'P', 1000, double(gain), code / 2.0 / std::pow(10.0, gain / 40.0)};
        double worst = 0.0;
        for (int j = 0; j <= 300; ++j) {
            worst = std::max(
                worst, std::fabs(designDb({design}, coarse(j)) - channelDb(r.record, coarse(j))));
        }
        EXPECT_LT(worst, 0.1) << line;
        EXPECT_EQ(importSummaryLines(r).back(),
                  "Größte Abweichung zwischen Vorlage und Einstellung (20 Hz bis 20 kHz): keine");
    }
}

TEST(ChannelImport, TheReportedDifferenceIsTheDesignAgainstTheChannel) {
    const ImportReport r = importText(
        "Preamp: -2.5 dB\n"
        "Filter: ON PK Fc 4500 Hz Gain -12 dB Q 1.5\n"
        "Filter: ON LS Fc 105 Hz Gain 5.6 dB Q 0.70\n"  // Q given: APO takes Fc as the corner
        "Filter: ON HSC Fc 10000 Hz Gain -6.6 dB Q 0.70\n"
        "Filter: ON HP Fc 30 Hz\n");
    const double lsSlope =
        1.0 /
        ((1.0 / (0.7 * 0.7) - 2.0) / (std::pow(10, 5.6 / 40) + std::pow(10, -5.6 / 40)) + 1.0);
    const std::vector<Design> design = {
        {'P', 4500, -12, 1.5},
        {'L', 105 * std::pow(10.0, 5.6 / (80.0 * lsSlope)), 5.6, 0.7},
        {'H', 10000, -6.6, 0.7},
        {'h', 30, 0, std::sqrt(0.5)},
    };
    double worst = 0.0, squares = 0.0;
    for (int k = 0; k <= 3000; ++k) {
        const double f = 20.0 * std::pow(10.0, k / 1000.0);
        worst = std::max(worst, std::fabs(-2.5 + designDb(design, f) - channelDb(r.record, f)));
        if (k % 10 == 0) {
            const double d = -2.5 + designDb(design, f) - channelDb(r.record, f);
            squares += d * d;
        }
    }
    EXPECT_NEAR(r.maxDifferenceDb, worst, 0.02);
    EXPECT_NEAR(r.rmsDifferenceDb, std::sqrt(squares / 301), 1e-6);
    // Where the old import made the band 3.5 dB too shallow, the channel now
    // follows what APO plays.
    EXPECT_NEAR(channelDb(r.record, 3500), -2.5 + designDb(design, 3500), 1.0);
    EXPECT_EQ(r.items.at(1).asSet, "EQ1: 4500 Hz, -12 dB, Q 1");
    EXPECT_EQ(r.items.at(1).notes.front(), "Q 1.5 entspricht beim Gerät Q 0.752, gerundet auf 1");
}

TEST(ChannelImport, AShelfBecomesTheNearestDeviceShelfWithinItsStatedDifference) {
    struct Case {
        const char* line;
        Design design;
        int band;
        double bound;  // what the device's nearest shelf can reach
    };
    const Case cases[] = {
        {"Filter: ON HSC Fc 10000 Hz Gain -6.6 dB Q 0.70", {'H', 10000, -6.6, 0.7}, 5, 0.7},
        {"Filter: ON LSC Fc 105 Hz Gain 5.8 dB Q 0.70", {'L', 105, 5.8, 0.7}, 4, 0.7},
        {"Filter: ON LSC Fc 300 Hz Gain -9 dB Q 0.45", {'L', 300, -9, 0.45}, 4, 1.0},
    };
    for (const Case& c : cases) {
        const ImportReport r = importText(c.line);
        const EqBand& band = r.record.eq[c.band];
        ASSERT_TRUE(isShelvingQCode(c.band, band.q)) << c.line;
        double stated = 0.0;
        ASSERT_EQ(std::sscanf(r.items.at(0).notes.at(0).c_str(),
                              "nächster Shelf des Geräts, weicht bis %lf dB ab", &stated),
                  1)
            << r.items[0].notes[0];
        double worst = 0.0;
        for (int k = 0; k <= 3000; ++k) {
            const double f = 20.0 * std::pow(10.0, k / 1000.0);
            worst = std::max(worst, std::fabs(designDb({c.design}, f) -
                                              magnitudeToDb(eqMagnitude(f, band.frequency, band.q,
                                                                        band.level, c.band))));
        }
        EXPECT_NEAR(stated, worst, 0.02) << c.line;
        EXPECT_LT(worst, c.bound) << c.line;
    }
}

// Every admissible set of at most six of the filters, by the same measure
// as the import (largest difference on 100 points per decade), each filter
// as the device band it becomes alone.
TEST(ChannelImport, TheBandsChosenAreTheBestSetByBruteForce) {
    const std::vector<std::string> lines = {
        "Filter: ON PK Fc 60 Hz Gain -6 dB Q 3",      "Filter: ON PK Fc 150 Hz Gain 2 dB Q 1",
        "Filter: ON PK Fc 400 Hz Gain -1.5 dB Q 0.8", "Filter: ON PK Fc 1200 Hz Gain 3 dB Q 2",
        "Filter: ON PK Fc 2500 Hz Gain -4 dB Q 4",    "Filter: ON PK Fc 5000 Hz Gain 1 dB Q 1.5",
        "Filter: ON PK Fc 8000 Hz Gain -3 dB Q 6",    "Filter: ON LSC Fc 80 Hz Gain 4 dB Q 0.7",
        "Filter: ON LSC Fc 40 Hz Gain -2 dB Q 0.5",
    };
    std::string text;
    std::vector<std::vector<double>> bandDb;
    std::vector<double> designTotal(301, 0.0);
    for (const std::string& line : lines) {
        text += line + "\n";
        const ImportReport alone = importText(line);
        const int band = line.find("LSC") != std::string::npos ? 4 : 0;
        const EqBand b = alone.record.eq[band];
        std::vector<double> curve;
        for (int j = 0; j <= 300; ++j) {
            curve.push_back(magnitudeToDb(eqMagnitude(coarse(j), b.frequency, b.q, b.level, band)));
        }
        bandDb.push_back(curve);
    }
    const std::vector<Design> design = {
        {'P', 60, -6, 3},   {'P', 150, 2, 1},   {'P', 400, -1.5, 0.8},
        {'P', 1200, 3, 2},  {'P', 2500, -4, 4}, {'P', 5000, 1, 1.5},
        {'P', 8000, -3, 6}, {'L', 80, 4, 0.7},  {'L', 40, -2, 0.5},
    };
    for (int j = 0; j <= 300; ++j) designTotal[j] = designDb(design, coarse(j));
    const auto worstOf = [&](unsigned mask) {
        double worst = 0.0;
        for (int j = 0; j <= 300; ++j) {
            double set = 0.0;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (mask & (1u << i)) set += bandDb[i][j];
            }
            worst = std::max(worst, std::fabs(designTotal[j] - set));
        }
        return worst;
    };
    double best = 1e9;
    for (unsigned mask = 0; mask < (1u << lines.size()); ++mask) {
        const bool bothShelves = (mask & (1u << 7)) && (mask & (1u << 8));
        if (__builtin_popcount(mask) <= 6 && !bothShelves) best = std::min(best, worstOf(mask));
    }
    const ImportReport r = importText(text);
    unsigned chosen = 0;
    for (const ImportItem& item : r.items) {
        if (item.status != ImportItemStatus::Dropped) chosen |= 1u << (item.lines.front() - 1);
    }
    EXPECT_NEAR(worstOf(chosen), best, 1e-6);
    EXPECT_EQ(r.bandChoice, BandChoiceMethod::Exhaustive);
    const std::vector<std::string> summary = importSummaryLines(r);
    EXPECT_NE(std::find_if(summary.begin(), summary.end(),
                           [](const std::string& line) {
                               return line.rfind("Auswahl der Bänder", 0) == 0 &&
                                      line.find("alle") != std::string::npos;
                           }),
              summary.end());
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

TEST(ChannelImport, WhatTheTextDoesNotSetStaysAndLongListsAreCounted) {
    ChannelRecord current = defaultRecord();
    current.input = 2;
    current.reserved = 77;
    current.lpType = FilterButterworth24;
    std::string text = "Filter: ON PK Fc 1000 Hz Gain -3 dB Q 1\n";
    for (int i = 0; i < 25; ++i) text += "kaputt\n";
    for (int i = 0; i < 30; ++i) text += "Filter: OFF PK Fc 300 Hz Gain 6 dB Q 1\n";
    const ImportReport r = importText(text, current);
    EXPECT_EQ(r.record.input, 2);
    EXPECT_EQ(r.record.reserved, 77);
    EXPECT_EQ(r.record.lpType, FilterButterworth24);
    EXPECT_EQ(r.freeBands, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(r.issues.size(), 10u);
    const std::vector<std::string> summary = importSummaryLines(r);
    const std::vector<std::string> more = {"… und 15 weitere unlesbare Zeilen",
                                           "… und 20 weitere ausgeschaltete Filter"};
    for (const std::string& line : more) {
        EXPECT_NE(std::find(summary.begin(), summary.end(), line), summary.end()) << line;
    }
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
    EXPECT_EQ(r.report.record.eq[0], (EqBand{60, 3, -5}));  // Q 2 at -5 dB is the device's 1.5

    const ImportReport nothing = importText("Filter: ON XX Fc 1 Hz\n# nur das\n");
    EXPECT_FALSE(nothing.changesSomething());
    EXPECT_EQ(nothing.record, current);
    ASSERT_EQ(nothing.issues.size(), 1u);
    const auto lines = importReportLines(nothing);
    EXPECT_NE(lines.front().find("Zeile 1 nicht lesbar"), std::string::npos) << lines.front();
}

}  // namespace
