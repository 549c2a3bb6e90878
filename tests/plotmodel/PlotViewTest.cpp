#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "plotmodel/CursorReadout.h"
#include "plotmodel/PlotView.h"
#include "plotmodel/PreviewCurves.h"
#include "response/TestRecords.h"

namespace {

const ResponseGrid& grid() {
    static const ResponseGrid g;
    return g;
}

// A preset with filters, bands and delays on every channel; channels 1 and
// 2 on L, 3 and 4 on R, 5 and 6 on both.
struct Curves {
    ParameterImage image;
    std::unique_ptr<ChannelResponses> magnitudes = std::make_unique<ChannelResponses>();
    std::unique_ptr<ComplexResponses> complex = std::make_unique<ComplexResponses>();

    explicit Curves(std::array<int, ChannelCount> inputs = {0, 0, 1, 1, 2, 2}) {
        applyDefaults(image);
        std::mt19937 rng(7);
        for (int c = 0; c < ChannelCount; ++c) {
            ChannelRecord r = neutralRecord(c - 2);
            r.hpType = 9;
            r.hpFrequency = 40 + 200 * c;
            r.lpType = 4;
            r.lpFrequency = 1000 + 3000 * c;
            r.eq[1] = {500, 4, -6};
            r.input = inputs[static_cast<std::size_t>(c)];
            r.delayTaps = 96 * c;
            image.setRecord(0, c, r);
        }
        compute();
    }
    void compute() {
        computeResponses(image, *magnitudes);
        computeComplexResponses(image, *complex);
    }
    PlotContent content(PlotViewChoice choice) const {
        return plotContent(image, choice, *magnitudes, complex.get());
    }
};

std::vector<int> idsOf(const PlotContent& content) {
    std::vector<int> ids;
    for (const ShownCurve& c : content.curves) ids.push_back(c.id);
    return ids;
}

TEST(PlotView, MagnitudeViewIsThePlotOfTheMagnitudePath) {
    Curves curves;
    curves.image.setChannelShown(2, 0);
    const PlotSettings settings = PlotSettings::fromImage(curves.image);
    const PlotGeometry expected =
        computePlotGeometry(868, 619, settings, grid(), *curves.magnitudes);
    // The magnitude view needs no complex responses at all.
    EXPECT_FALSE(needsComplexResponses({}));
    const PlotContent content = plotContent(curves.image, {}, *curves.magnitudes, nullptr);
    const PlotGeometry g = computeViewGeometry(868, 619, settings, grid(), content);
    EXPECT_EQ(g.frame, expected.frame);
    EXPECT_EQ(g.decadeLabels, expected.decadeLabels);
    EXPECT_EQ(g.minorLines, expected.minorLines);
    EXPECT_EQ(g.levelLines, expected.levelLines);
    EXPECT_EQ(g.levelLabels, expected.levelLabels);
    ASSERT_EQ(g.curves.size(), expected.curves.size());
    for (std::size_t i = 0; i < g.curves.size(); ++i) {
        EXPECT_EQ(g.curves[i].channel, expected.curves[i].channel);
        EXPECT_EQ(g.curves[i].runs, expected.curves[i].runs);
    }
}

TEST(PlotView, SumsFollowTheChoiceAndTheSidesThatAreFed) {
    struct Case {
        std::array<int, ChannelCount> inputs;
        bool sums;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {{0, 0, 1, 1, 2, 2}, false, {0, 1, 3, 4, 5}},
        {{0, 0, 1, 1, 2, 2}, true, {0, 1, 3, 4, 5, PlotSumCurve, PlotSumCurve + 1}},
        {{0, 0, 0, 0, 0, 0}, true, {0, 1, 3, 4, 5, PlotSumCurve}},
        {{1, 1, 1, 1, 1, 1}, true, {0, 1, 3, 4, 5, PlotSumCurve + 1}},
        {{7, 7, 7, 7, 7, 7}, true, {0, 1, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        Curves curves(c.inputs);
        curves.image.setChannelShown(2, 0);  // a hidden channel still counts in its sum
        const PlotContent content = curves.content({ResponseQuantity::Magnitude, c.sums});
        EXPECT_EQ(idsOf(content), c.ids) << c.inputs[0] << " " << c.sums;
        EXPECT_EQ(needsComplexResponses({ResponseQuantity::Magnitude, c.sums}), c.sums);
        // Channels from the magnitude path, the sums' dB from the complex one.
        EXPECT_EQ(content.curves.front().values, &(*curves.magnitudes)[0].db);
        if (c.ids.back() >= PlotSumCurve) {
            const int s = c.ids.back() - PlotSumCurve;
            EXPECT_EQ(content.curves.back().values, &curves.complex->sums[s].db);
        }
    }
}

TEST(PlotView, PhaseAxisAndWrappedCurvesBreakAtTheWrap) {
    const ViewLevelAxis axis = phaseAxis(619);
    ASSERT_EQ(axis.lines.size(), 9u);
    EXPECT_EQ(axis.lines.front(), 180);
    EXPECT_EQ(axis.lines.back(), -180);
    EXPECT_EQ(axis.scale.yOf(180), 30);    // 619 / 20
    EXPECT_EQ(axis.scale.yOf(-180), 557);  // 619 * 0.9

    Curves curves;
    const PlotContent content = curves.content({ResponseQuantity::Phase, false});
    const PlotGeometry g =
        computeViewGeometry(868, 619, PlotSettings::fromImage(curves.image), grid(), content);
    ASSERT_EQ(g.levelLabels.size(), 9u);
    EXPECT_EQ(g.levelLabels.front().text, "+180°");
    EXPECT_EQ(g.levelLabels[4].text, "0°");
    EXPECT_EQ(g.levelLabels.back().text, "-180°");
    // Channel 6's delay of 480 taps turns its phase many times: one run per
    // wrap, none of them jumping across the plot.
    const PlotCurve& delayed = g.curves.back();
    EXPECT_GT(delayed.runs.size(), 10u);
    for (const auto& run : delayed.runs) {
        for (std::size_t i = 1; i < run.size(); ++i) {
            EXPECT_LT(std::abs(run[i].y - run[i - 1].y), 530 / 2);
        }
    }
}

TEST(PlotView, OverlaysKeepEachColumnsRangeAndBreakWhereTheirValuesDo) {
    // 20 000 points from 10 Hz to 40 kHz, a wobble of +-20 degrees around a
    // phase that wraps; one value missing.
    std::vector<double> hz;
    std::vector<double> degrees;
    for (int i = 0; i < 20000; ++i) {
        hz.push_back(10.0 * std::pow(4000.0, i / 19999.0));
        degrees.push_back(std::remainder(i * 0.05, 360.0) + 20.0 * std::sin(i * 0.7));
    }
    degrees[9000] = std::nan("");
    Curves curves;
    PlotContent content = curves.content({ResponseQuantity::Phase, false});
    content.overlays.push_back({2, CurveStroke::Dotted, &hz, &degrees, 0.0});
    const PlotSettings settings = PlotSettings::fromImage(curves.image);
    const PlotGeometry g = computeViewGeometry(868, 619, settings, grid(), content);
    // The channel curves as before; the overlay is extra.
    EXPECT_EQ(g.curves.size(), content.curves.size());
    ASSERT_EQ(g.overlays.size(), 1u);
    const PlotCurve& overlay = g.overlays[0];
    EXPECT_EQ(overlay.channel, 2);
    EXPECT_EQ(overlay.stroke, CurveStroke::Dotted);

    // Every column holds at most four points, and they span what all the
    // points of the column span.
    const PlotAxes axes(868, 619, settings.startHz, settings.endHz);
    const ViewLevelAxis axis = phaseAxis(619);
    std::map<int, std::pair<int, int>> expected;  // column: lowest and highest y
    for (std::size_t i = 0; i < hz.size(); ++i) {
        if (std::isnan(degrees[i])) continue;
        const int x = axes.xOfHz(hz[i]);
        const int y = axis.scale.yOf(degrees[i]);
        auto [it, added] = expected.try_emplace(x, y, y);
        it->second = {std::min(it->second.first, y), std::max(it->second.second, y)};
    }
    std::map<int, std::pair<int, int>> drawn;
    std::map<int, int> count;
    for (const auto& run : overlay.runs) {
        for (const PlotPoint& p : run) {
            auto [it, added] = drawn.try_emplace(p.x, p.y, p.y);
            it->second = {std::min(it->second.first, p.y), std::max(it->second.second, p.y)};
            ++count[p.x];
        }
    }
    // Only the neighbours outside the plot are drawn of the points beyond it.
    EXPECT_LT(drawn.begin()->first, 0);
    EXPECT_GE(drawn.rbegin()->first, 868);
    EXPECT_EQ(std::prev(drawn.end())->first, expected.upper_bound(867)->first);
    for (const auto& [x, range] : drawn) {
        if (x < 0 || x >= 868) continue;
        EXPECT_EQ(range, expected.at(x)) << x;
        // Runs may split a column; whole, it has four points at most.
        EXPECT_LE(count[x], 8) << x;
    }
    // Three wraps and the missing value break the line.
    EXPECT_EQ(overlay.runs.size(), 5u);
    for (const auto& run : overlay.runs) {
        for (std::size_t i = 1; i < run.size(); ++i) {
            EXPECT_LT(std::abs(run[i].y - run[i - 1].y), 530 / 2);
        }
    }
}

// What a dialog shows: only in the view of its quantity, above the curves,
// at the view's level axis, named in the readout; without it nothing else
// changes.
TEST(PlotView, PreviewCurvesOfADialogLieAboveTheCurvesOfTheirView) {
    Curves curves;
    const PlotSettings settings = PlotSettings::fromImage(curves.image);
    const PlotPreview preview = {
        {1, CurveStroke::Solid, ResponseQuantity::Magnitude, "Ziel 2", {100.0, 1000.0}, {-3, -3}},
        {1,
         CurveStroke::Dashed,
         ResponseQuantity::Magnitude,
         "Anpassung 2",
         {100.0, 1000.0},
         {6, 0}},
        {PlotSumCurve, CurveStroke::Dashed, ResponseQuantity::Phase, "Summe", {100.0}, {45}},
    };
    const PlotContent plain = curves.content({});
    PlotContent content = plain;
    addPreviewCurves(content, preview);
    ASSERT_EQ(content.previews.size(), 2u);
    const PlotGeometry without = computeViewGeometry(868, 619, settings, grid(), plain);
    const PlotGeometry g = computeViewGeometry(868, 619, settings, grid(), content);
    EXPECT_TRUE(without.previews.empty());
    ASSERT_EQ(g.previews.size(), 2u);
    EXPECT_EQ(g.curves.size(), without.curves.size());
    for (std::size_t i = 0; i < g.curves.size(); ++i)
        EXPECT_EQ(g.curves[i].runs, without.curves[i].runs);
    // -3 dB lies where the magnitude axis puts it.
    const PlotAxes axes(868, 619, settings.startHz, settings.endHz);
    EXPECT_EQ(g.previews[0].stroke, CurveStroke::Solid);
    EXPECT_EQ(g.previews[1].stroke, CurveStroke::Dashed);
    EXPECT_EQ(g.previews[0].runs.at(0).front(), (PlotPoint{axes.xOfHz(100.0), axes.yOfDb(-3)}));

    PlotContent phase = curves.content({ResponseQuantity::Phase, false});
    addPreviewCurves(phase, preview);
    ASSERT_EQ(phase.previews.size(), 1u);
    EXPECT_EQ(phase.previews[0].channel, PlotSumCurve);

    // The readout names them, after the channels.
    const CursorReadout readout = cursorReadout(content, grid(), 200);  // 200 Hz
    ASSERT_GE(readout.entries.size(), 2u);
    EXPECT_EQ(readout.entries[readout.entries.size() - 2].name, "Ziel 2");
    EXPECT_EQ(readout.entries.back().name, "Anpassung 2");
}

TEST(PlotView, GroupDelayAxisCoversTheValuesInWholeSteps) {
    struct Case {
        double low, high;
        double top, bottom;
        std::size_t lines;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {0, 0, 1, 0, 6},                // at least 1 ms, steps of 0.2
        {nan, nan, 1, 0, 6},            // nothing to fit
        {0.1, 0.35, 1, 0, 6},           // 0 always inside
        {-3.2, 37, 40, -10, 6},         // steps of 10
        {2.5, 7.9, 8, 0, 9},            // steps of 1
        {-1e30, 1e30, 1000, -1000, 5},  // beyond the limit
    };
    for (const Case& c : cases) {
        const ViewLevelAxis axis = groupDelayAxis(619, c.low, c.high);
        ASSERT_EQ(axis.lines.size(), c.lines) << c.low << ".." << c.high;
        EXPECT_DOUBLE_EQ(axis.lines.front(), c.top);
        EXPECT_DOUBLE_EQ(axis.lines.back(), c.bottom);
        EXPECT_EQ(axis.scale.yOf(c.top), 30);
        EXPECT_EQ(axis.scale.yOf(c.bottom), 557);
    }

    // The axis fits the channels drawn and those feeding a drawn sum; the
    // label names the unit.
    Curves curves;
    PlotContent content = curves.content({ResponseQuantity::GroupDelay, true});
    EXPECT_EQ(content.scaleCurves.size(), 6u);
    curves.image.setChannelShown(5, 0);
    content = curves.content({ResponseQuantity::GroupDelay, false});
    EXPECT_EQ(content.scaleCurves.size(), 5u);
    const PlotGeometry g =
        computeViewGeometry(868, 619, PlotSettings::fromImage(curves.image), grid(), content);
    EXPECT_NE(g.levelLabels.front().text.find(" ms"), std::string::npos);
}

TEST(PlotView, CsvHoldsEveryChannelAndTheShownSumsInTheViewsUnit) {
    Curves curves;
    curves.image.setChannelShown(0, 0);
    const std::string csv =
        plotCurvesCsv({ResponseQuantity::Phase, true}, *curves.magnitudes, curves.complex.get());
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "Frequenz [Hz],Kanal 1 [deg],Kanal 2 [deg],Kanal 3 [deg],Kanal 4 [deg],"
              "Kanal 5 [deg],Kanal 6 [deg],Summe L [deg],Summe R [deg]");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), ResponsePointCount + 1);
    ChannelNames names;
    names[1] = "Hochton, \"links\"";
    const std::string magnitude = plotCurvesCsv({}, *curves.magnitudes, nullptr, names);
    EXPECT_EQ(magnitude.substr(0, magnitude.find('\n')),
              "Frequenz [Hz],Kanal 1 [dB],\"Kanal 2 (Hochton, \"\"links\"\") [dB]\",Kanal 3 [dB],"
              "Kanal 4 [dB],Kanal 5 [dB],Kanal 6 [dB]");
    // Row of grid point 300 (2 kHz): the stored values, read back exactly.
    std::istringstream lines(csv);
    std::string row;
    for (int line = 0; line <= 301; ++line) std::getline(lines, row);
    std::istringstream cells(row);
    std::vector<float> fields;
    for (std::string cell; std::getline(cells, cell, ',');) fields.push_back(std::stof(cell));
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields[0], grid()[300]);
    EXPECT_EQ(fields[3], curves.complex->channels[2].phaseDegrees[300]);
    EXPECT_EQ(fields[8], curves.complex->sums[SideRight].phaseDegrees[300]);
}

// The sums the measurements predict go beside the shown sums of the
// magnitude and phase views, dotted in the sum's colour; the readout lists
// them where they reach, and the CSV holds them with empty cells beyond.
TEST(PlotView, MeasuredSumsGoBesideTheShownSumsIntoTheReadoutAndTheCsv) {
    EXPECT_EQ(measuredSumName(SideLeft, {}), "Summe L (gemessen)");
    EXPECT_EQ(measuredSumName(SideRight, {1}), "Summe R (gemessen, ohne Kanal 2)");
    EXPECT_EQ(measuredSumName(SideLeft, {0, 2, 5}),
              "Summe L (gemessen, ohne Kanal 1, Kanal 3 und Kanal 6)");

    // Left: grid points 200..202 (the grid's own frequencies), right: none.
    MeasuredSumCurves measured;
    MeasuredSumCurve& left = measured[SideLeft];
    left.first = 200;
    left.hz = {grid()[200], grid()[201], grid()[202]};
    left.db = {-1.5, 2.3, 3.0};
    left.phaseDegrees = {10.0, -20.0, 30.0};
    left.leftOut = {2};
    left.name = measuredSumName(SideLeft, left.leftOut);

    struct Case {
        PlotViewChoice choice;
        std::size_t overlays;
        const char* readout;  // of the measured sum at grid point 201; null: none
    };
    const Case cases[] = {
        {{ResponseQuantity::Magnitude, true}, 1, "+2.3 dB"},
        {{ResponseQuantity::Phase, true}, 1, "-20.0°"},
        {{ResponseQuantity::GroupDelay, true}, 0, nullptr},
        {{ResponseQuantity::Magnitude, false}, 0, nullptr},
    };
    Curves curves;
    for (const Case& c : cases) {
        SCOPED_TRACE(quantityName(c.choice.quantity));
        PlotContent content = curves.content(c.choice);
        const std::size_t modelCurves = content.curves.size();
        addMeasuredSums(content, measured);
        ASSERT_EQ(content.overlays.size(), c.overlays);
        EXPECT_EQ(content.curves.size(), modelCurves);
        const CursorReadout readout = cursorReadout(content, grid(), 201);
        EXPECT_EQ(readout.entries.size(), modelCurves + c.overlays);
        if (c.readout != nullptr) {
            EXPECT_EQ(content.overlays[0].channel, PlotSumCurve + SideLeft);
            EXPECT_EQ(content.overlays[0].stroke, CurveStroke::Dotted);
            EXPECT_EQ(readout.entries.back().name, "Summe L (gemessen, ohne Kanal 3)");
            EXPECT_EQ(readout.entries.back().text, c.readout);
            // Beyond its span the readout leaves it out.
            EXPECT_EQ(cursorReadout(content, grid(), 150).entries.size(), modelCurves);
        }

        const std::string csv =
            plotCurvesCsv(c.choice, *curves.magnitudes, curves.complex.get(), {}, &measured);
        const std::string header = csv.substr(0, csv.find('\n'));
        const bool column = header.find("Summe L (gemessen, ohne Kanal 3)") != std::string::npos;
        EXPECT_EQ(column, c.readout != nullptr) << header;
        if (!column) continue;
        // Last cell of the rows of grid points 199, 200 and 202.
        std::istringstream lines(csv);
        std::vector<std::string> last;
        std::string row;
        for (int line = 0; std::getline(lines, row); ++line) {
            if (line == 200 || line == 201 || line == 203)
                last.push_back(row.substr(row.rfind(',') + 1));
        }
        const bool phase = c.choice.quantity == ResponseQuantity::Phase;
        EXPECT_EQ(last, (std::vector<std::string>{"", phase ? "10" : "-1.5", phase ? "30" : "3"}));
    }
}

TEST(PlotView, QuantityNamesRoundTrip) {
    for (ResponseQuantity q :
         {ResponseQuantity::Magnitude, ResponseQuantity::Phase, ResponseQuantity::GroupDelay}) {
        EXPECT_EQ(quantityFromName(quantityName(q)), q);
    }
    EXPECT_EQ(quantityFromName("Phase"), std::nullopt);
    EXPECT_EQ(quantityFromName(""), std::nullopt);
}

TEST(CursorReadout, NearestGridPointOfEveryColumn) {
    for (auto [start, end, width] :
         {std::tuple{20, 20000, 868}, {10, 600, 300}, {5000, 20000, 97}, {10, 20000, 120}}) {
        const PlotAxes axes(width, 400, start, end);
        const GridSpan span = visibleGridSpan(axes, grid(), width);
        ASSERT_FALSE(span.empty());
        EXPECT_GE(axes.xOfHz(grid()[span.first]), 0);
        EXPECT_LT(axes.xOfHz(grid()[span.first - 1]), 0);
        EXPECT_LT(axes.xOfHz(grid()[span.last]), width);
        EXPECT_GE(axes.xOfHz(grid()[span.last + 1]), width);
        for (int x = -5; x < width + 5; ++x) {
            const int j = nearestGridPoint(axes, grid(), span, width, x);
            int best = span.first;
            for (int k = span.first; k <= span.last; ++k) {
                if (std::abs(axes.xOfHz(grid()[k]) - x) < std::abs(axes.xOfHz(grid()[best]) - x)) {
                    best = k;
                }
            }
            ASSERT_EQ(j, best) << start << ".." << end << " x " << x;
        }
    }
}

TEST(CursorReadout, ValuesAreTheStoredCurves) {
    Curves curves;
    for (ResponseQuantity q :
         {ResponseQuantity::Magnitude, ResponseQuantity::Phase, ResponseQuantity::GroupDelay}) {
        const PlotContent content = curves.content({q, true});
        const CursorReadout readout = cursorReadout(content, grid(), 321);
        ASSERT_EQ(readout.entries.size(), 8u);
        EXPECT_EQ(readout.hz, grid()[321]);
        for (const ReadoutEntry& e : readout.entries) {
            const ResponseValues& stored =
                e.id >= PlotSumCurve ? curves.complex->sums[e.id - PlotSumCurve].values(q)
                : q == ResponseQuantity::Magnitude ? (*curves.magnitudes)[e.id].db
                                                   : curves.complex->channels[e.id].values(q);
            EXPECT_EQ(e.value, stored[321]) << e.name;
            EXPECT_EQ(e.text, readoutValueText(stored[321], q));
        }
        EXPECT_EQ(readout.entries[2].name, "Kanal 3");
        EXPECT_EQ(readout.entries[2].delay, "1.998 ms");  // 192 taps
        EXPECT_EQ(readout.entries[6].name, "Summe L");
        EXPECT_EQ(readout.entries[6].delay, "");
    }
    EXPECT_EQ(cursorReadout(curves.content({}), grid(), -1).point, -1);
    EXPECT_EQ(cursorReadout(curves.content({}), grid(), PlotCurvePointCount).entries.size(), 0u);

    // Overlays follow, read between their points in log frequency, where
    // they reach: point 200 is 200 Hz, midway between 100 and 400 Hz.
    const std::vector<double> hz{100, 400};
    const std::vector<double> db{-10, 0};
    PlotContent content = curves.content({});
    content.channelNames[1] = "Hochton, links";
    content.overlays.push_back({4, CurveStroke::Dotted, &hz, &db, 2.0});
    content.overlays.push_back({4, CurveStroke::Dashed, &hz, &db, 0.0});
    const CursorReadout readout = cursorReadout(content, grid(), 200);
    ASSERT_EQ(readout.entries.size(), 8u);
    EXPECT_EQ(readout.entries[1].name, "Kanal 2 (Hochton, links)");
    EXPECT_EQ(readout.entries[6].name, "Messung 5");
    EXPECT_EQ(readout.entries[6].text, "-3.0 dB");
    EXPECT_EQ(readout.entries[7].name, "Vorhersage 5");
    EXPECT_EQ(readout.entries[7].text, "-5.0 dB");
    EXPECT_EQ(cursorReadout(content, grid(), 100).entries.size(), 6u);  // 20 Hz
}

TEST(CursorReadout, Texts) {
    EXPECT_EQ(readoutFrequencyText(47.94), "47.9 Hz");
    EXPECT_EQ(readoutFrequencyText(1002.3), "1002 Hz");
    const std::tuple<float, ResponseQuantity, std::string> cases[] = {
        {-3.21f, ResponseQuantity::Magnitude, "-3.2 dB"},
        {6.07f, ResponseQuantity::Magnitude, "+6.1 dB"},
        {-0.04f, ResponseQuantity::Magnitude, "0.0 dB"},
        {SilenceDb, ResponseQuantity::Magnitude, "-∞ dB"},
        {45.04f, ResponseQuantity::Phase, "+45.0°"},
        {-179.96f, ResponseQuantity::Phase, "-180.0°"},
        {1.0412f, ResponseQuantity::GroupDelay, "+1.041 ms"},
        {3.4e38f, ResponseQuantity::GroupDelay, "+3.40e+38 ms"},
    };
    for (const auto& [value, quantity, text] : cases) {
        EXPECT_EQ(readoutValueText(value, quantity), text) << value;
    }
    EXPECT_EQ(readoutDelayText(0.99918), "0.999 ms");
}

// A box 100 wide with a gap of 6; the level labels end before column 30.
TEST(CursorReadout, BoxGoesBesideTheLineAndNeverOverTheLevelLabels) {
    const std::tuple<int, int, int> lineWidthLeft[] = {
        {50, 400, 56},    // right of the line
        {293, 400, 299},  // right, up to the frame
        {294, 400, 188},  // left of the line
        {120, 200, 99},   // room on neither side: at the right edge
        {60, 120, 30},    // narrower than the box: clear of the labels all the same
    };
    for (const auto& [line, width, left] : lineWidthLeft) {
        EXPECT_EQ(readoutBoxLeft(line, 100, 6, 30, width), left) << line << " " << width;
    }
}

}  // namespace
