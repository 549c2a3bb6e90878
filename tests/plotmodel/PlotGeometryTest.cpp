#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "plotmodel/PlotGeometry.h"

void PrintTo(const PlotPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
void PrintTo(const PlotLine& l, std::ostream* os) {
    *os << "(" << l.from.x << ", " << l.from.y << ")-(" << l.to.x << ", " << l.to.y << ")";
}
void PrintTo(const PlotLabel& l, std::ostream* os) {
    *os << "\"" << l.text << "\" at (" << l.topLeft.x << ", " << l.topLeft.y << ")";
}

namespace {

const ResponseGrid& grid() {
    static const ResponseGrid g;
    return g;
}

PlotGeometry geometry(int w, int h, const PlotSettings& s = {},
                      const ChannelResponses* r = nullptr) {
    static const ChannelResponses zero{};
    return computePlotGeometry(w, h, s, grid(), r ? *r : zero);
}

std::vector<int> xsOf(const std::vector<PlotLine>& lines) {
    std::vector<int> xs;
    for (const auto& l : lines) xs.push_back(l.from.x);
    return xs;
}

bool contains(const std::vector<int>& v, int x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}

PlotSettings range(int startHz, int endHz) {
    PlotSettings s;
    s.startHz = startHz;
    s.endHz = endHz;
    return s;
}

// The 800 x 331 back buffer with the default 20 Hz .. 20 kHz range.
TEST(PlotGeometry, ExampleBackBufferGridAndLabels) {
    const PlotGeometry g = geometry(800, 331);
    EXPECT_EQ(g.frame, (std::vector<PlotLine>{{{0, 0}, {799, 0}},
                                              {{799, 0}, {799, 330}},
                                              {{799, 330}, {0, 330}},
                                              {{0, 330}, {0, 0}}}));
    EXPECT_EQ(g.decadeLines,
              (std::vector<PlotLine>{
                  {{186, 1}, {186, 330}}, {{453, 1}, {453, 330}}, {{719, 1}, {719, 330}}}));
    EXPECT_EQ(g.decadeLabels,
              (std::vector<PlotLabel>{
                  {{189, 316}, "100Hz"}, {{456, 316}, "1000Hz"}, {{722, 316}, "10000Hz"}}));

    // 30..90, 200..900 and 2000..9000 Hz; nothing at 20 Hz or above 10 kHz.
    const std::vector<int> minor = xsOf(g.minorLines);
    ASSERT_EQ(minor.size(), 7u + 8u + 8u);
    for (int x : {46, 266, 533, 707}) EXPECT_TRUE(contains(minor, x)) << x;
    EXPECT_GT(*std::min_element(minor.begin(), minor.end()), 0);
    EXPECT_LT(*std::max_element(minor.begin(), minor.end()), 719);
    for (const auto& l : g.minorLines) {
        EXPECT_EQ(l.from.y, 1);
        EXPECT_EQ(l.to, (PlotPoint{l.from.x, 330}));
    }

    const std::vector<int> levelYs{-31, 1, 34, 67, 100, 133, 166, 199, 232, 265, 298};
    const std::vector<std::string> texts{"+20", "+15", "+10", "+5",  "+0", "-5",
                                         "-10", "-15", "-20", "-25", "-30"};
    ASSERT_EQ(g.levelLines.size(), levelYs.size());
    ASSERT_EQ(g.levelLabels.size(), levelYs.size());
    for (std::size_t i = 0; i < levelYs.size(); ++i) {
        EXPECT_EQ(g.levelLines[i], (PlotLine{{1, levelYs[i]}, {799, levelYs[i]}}));
        EXPECT_EQ(g.levelLabels[i], (PlotLabel{{3, levelYs[i]}, texts[i]}));
    }
}

TEST(PlotGeometry, ExampleBackBufferLevelsAndCurves) {
    const PlotAxes axes(800, 331, 20, 20000);
    EXPECT_EQ(axes.yOfDb(-3), 120);
    EXPECT_EQ(axes.yOfDb(6), 60);
    EXPECT_EQ(axes.yOfDb(0), 100);
    EXPECT_EQ(axes.xOfHz(30), 46);

    // Before the first recomputation every curve lies on the +0 line.
    const PlotGeometry g = geometry(800, 331);
    ASSERT_EQ(g.curves.size(), 6u);
    for (int c = 0; c < 6; ++c) {
        const PlotCurve& curve = g.curves[static_cast<std::size_t>(c)];
        EXPECT_EQ(curve.channel, c);
        ASSERT_EQ(curve.runs.size(), 1u);
        ASSERT_EQ(curve.runs[0].size(), 1999u);
        EXPECT_TRUE(std::all_of(curve.runs[0].begin(), curve.runs[0].end(),
                                [](PlotPoint p) { return p.y == 100; }));
        EXPECT_EQ(curve.runs[0][0].x, -266);   // 2 Hz, left of the plot
        EXPECT_EQ(curve.runs[0][100].x, 0);    // 20 Hz
        EXPECT_EQ(curve.runs[0][400].x, 800);  // 20 kHz, just right of the plot
    }

    ChannelResponses r{};
    r[1].db[300] = -3.0f;  // 2 kHz
    r[1].db[301] = 6.0f;
    const PlotGeometry g2 = geometry(800, 331, {}, &r);
    EXPECT_EQ(g2.curves[1].runs[0][300], (PlotPoint{533, 120}));
    EXPECT_EQ(g2.curves[1].runs[0][301].y, 60);
}

TEST(PlotGeometry, StartAtTenSkipsTheTenHertzDecade) {
    const PlotGeometry g = geometry(800, 331, range(10, 20000));
    ASSERT_EQ(g.decadeLabels.size(), 3u);
    EXPECT_EQ(g.decadeLabels[0].text, "100Hz");
    const PlotAxes axes(800, 331, 10, 20000);
    EXPECT_EQ(g.decadeLines[0].from.x, axes.xOfHz(100));
    // Below 100 Hz: 90, 80, ... 20 Hz; none at 10 Hz (x = 0).
    std::vector<int> below;
    for (int hz = 90; hz >= 20; hz -= 10) below.push_back(axes.xOfHz(hz));
    const std::vector<int> minor = xsOf(g.minorLines);
    ASSERT_GE(minor.size(), below.size());
    EXPECT_EQ(std::vector<int>(minor.begin(), minor.begin() + 8), below);
    EXPECT_FALSE(contains(minor, 0));
}

TEST(PlotGeometry, UpperEndBelowADecadeGetsMinorLinesUpToIt) {
    // 600 Hz is the lowest end the options allow: lines at 200..500 Hz only.
    const PlotGeometry g = geometry(800, 331, range(20, 600));
    ASSERT_EQ(g.decadeLabels.size(), 1u);
    const PlotAxes axes(800, 331, 20, 600);
    const std::vector<int> minor = xsOf(g.minorLines);
    ASSERT_EQ(minor.size(), 7u + 4u);
    EXPECT_EQ(minor.back(), axes.xOfHz(500));
}

std::vector<std::string> textsOf(const std::vector<PlotLabel>& labels) {
    std::vector<std::string> texts;
    for (const auto& l : labels) texts.push_back(l.text);
    return texts;
}

// Without a measure every character is PlotLabelCharWidth (7) pixels wide:
// "1000Hz" covers 42.
TEST(PlotGeometry, FrequencyLabelsThatWouldNotFitWholeAreLeftOut) {
    using Texts = std::vector<std::string>;
    const struct {
        int w, h;
        Texts texts;
    } cases[] = {
        {800, 331, {"100Hz", "1000Hz", "10000Hz"}},
        {519, 331, {"100Hz", "1000Hz", "10000Hz"}},  // "10000Hz" at 469 ends at 517
        {518, 331, {"100Hz", "1000Hz"}},             // cut by the frame it would read "1000"
        {800, 15, {}},                               // up into the top frame line
    };
    for (const auto& c : cases) {
        const PlotGeometry g = geometry(c.w, c.h);
        EXPECT_EQ(textsOf(g.decadeLabels), c.texts) << c.w << "x" << c.h;
        EXPECT_EQ(g.decadeLines.size(), 3u) << "every line stays";
        for (const PlotLabel& l : g.decadeLabels) {
            EXPECT_LE(l.topLeft.x + 7 * static_cast<int>(l.text.size()), c.w - 1);
        }
    }
    // The painter's measure decides.
    const PlotGeometry wide = computePlotGeometry(800, 331, {}, grid(), ChannelResponses{},
                                                  [](const std::string&) { return 100; });
    EXPECT_EQ(textsOf(wide.decadeLabels), (Texts{"100Hz", "1000Hz"}));
}

TEST(PlotGeometry, ARangeWithoutDecadeLabelsLabelsItsEnds) {
    const PlotGeometry g = geometry(800, 331, range(10000, 20000));
    EXPECT_TRUE(g.decadeLines.empty());
    EXPECT_TRUE(g.decadeLabels.empty());
    EXPECT_EQ(g.rangeLabels,
              (std::vector<PlotLabel>{{{3, 316}, "10000Hz"}, {{800 - 4 - 49, 316}, "20000Hz"}}));
    EXPECT_EQ(textsOf(geometry(800, 331, range(600, 900)).rangeLabels),
              (std::vector<std::string>{"600Hz", "900Hz"}));
    // Too narrow for both: the start alone; no room at all: none.
    EXPECT_EQ(textsOf(geometry(100, 331, range(10000, 20000)).rangeLabels),
              (std::vector<std::string>{"10000Hz"}));
    EXPECT_TRUE(geometry(50, 331, range(10000, 20000)).rangeLabels.empty());
    // With a decade labelled, the ends need no label of their own.
    EXPECT_TRUE(geometry(800, 331).rangeLabels.empty());
    EXPECT_TRUE(geometry(800, 331, range(2000, 20000)).rangeLabels.empty());
}

TEST(PlotGeometry, UnusableRangesFallBackToTheDefaultAxis) {
    const PlotGeometry reference = geometry(800, 331, range(0, 0));
    EXPECT_EQ(xsOf(reference.decadeLines), (std::vector<int>{186, 453, 720}));
    for (const auto& [start, end] : std::vector<std::pair<int, int>>{
             {1, 1}, {-20, -5}, {600, 600}, {5000, 2000}, {std::numeric_limits<int>::max(), 5}}) {
        const PlotGeometry g = geometry(800, 331, range(start, end));
        EXPECT_EQ(g.decadeLines, reference.decadeLines) << start << ".." << end;
        EXPECT_EQ(g.minorLines, reference.minorLines) << start << ".." << end;
        EXPECT_EQ(g.curves[0].runs, reference.curves[0].runs);
    }
    // A start of 1 Hz or less alone uses 10^1.3 for the start only.
    const PlotAxes axes(800, 331, 1, 10000);
    EXPECT_DOUBLE_EQ(axes.logStart(), 1.3);
    EXPECT_DOUBLE_EQ(axes.logEnd(), 4.0);
}

TEST(PlotGeometry, ExtremeRangesAndSizesStayWithinPixelLimits) {
    const int big = std::numeric_limits<int>::max();
    for (const auto& s : {range(big - 1, big), range(1000000000, big), range(2, 3), range(200, 900),
                          range(10, big)}) {
        for (const auto& [w, h] :
             std::vector<std::pair<int, int>>{{800, 331}, {1, 1}, {big, big}}) {
            const PlotGeometry g = geometry(w, h, s);
            EXPECT_LE(g.minorLines.size(), 100u);
            for (const auto& l : g.minorLines) {
                EXPECT_LE(std::abs(l.from.x), static_cast<int>(PlotCoordinateLimit));
            }
        }
    }
    EXPECT_EQ(geometry(200000, 200000).levelLines.back().from.y, 120000 + 60606);
}

TEST(PlotGeometry, EmptyForZeroOrNegativeSize) {
    for (const auto& [w, h] :
         std::vector<std::pair<int, int>>{{0, 0}, {0, 331}, {800, 0}, {-5, 10}}) {
        const PlotGeometry g = geometry(w, h);
        EXPECT_TRUE(g.frame.empty() && g.decadeLines.empty() && g.levelLines.empty() &&
                    g.curves.empty());
    }
}

TEST(PlotGeometry, OddResponseValuesAreClampedOrBreakTheCurve) {
    ChannelResponses r{};
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    r[0].db[10] = nan;
    r[0].db[11] = nan;
    r[0].db[500] = nan;
    r[0].db[1998] = nan;  // the last drawn point
    r[1].db[5] = inf;
    r[1].db[6] = -inf;
    r[1].db[7] = std::numeric_limits<float>::max();
    r[1].db[8] = -std::numeric_limits<float>::max();
    r[2].db.fill(nan);
    const PlotGeometry g = geometry(800, 331, {}, &r);
    ASSERT_EQ(g.curves.size(), 6u);

    const auto& runs = g.curves[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].size(), 10u);
    EXPECT_EQ(runs[1].size(), 500u - 12u);
    EXPECT_EQ(runs[2].size(), 1998u - 501u);
    // Each run holds only its own points: reserving up to the end of the
    // curve for every run made memory grow with the square of the gaps.
    for (const auto& run : runs) EXPECT_EQ(run.capacity(), run.size());

    const auto& p = g.curves[1].runs.at(0);
    const int limit = static_cast<int>(PlotCoordinateLimit);
    EXPECT_EQ(p[5].y, -limit);  // +inf dB: far above the top
    EXPECT_EQ(p[6].y, limit);
    EXPECT_EQ(p[7].y, -limit);
    EXPECT_EQ(p[8].y, limit);
    EXPECT_EQ(p[9].y, 100);

    EXPECT_TRUE(g.curves[2].runs.empty());
}

TEST(PlotGeometry, ChannelCountAndHiddenChannels) {
    PlotSettings s;
    s.channelShown[2] = 0;
    std::vector<int> shown;
    for (const auto& c : geometry(800, 331, s).curves) shown.push_back(c.channel);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 3, 4, 5}));

    s.sixChannels = 0;
    shown.clear();
    for (const auto& c : geometry(800, 331, s).curves) shown.push_back(c.channel);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 3}));

    s.sixChannels = 2;  // neither four nor six channels: no curves
    EXPECT_TRUE(geometry(800, 331, s).curves.empty());

    s.sixChannels = 1;
    s.channelShown = {7, 7, 7, 7, 7, 7};  // any non-zero byte shows the channel
    EXPECT_EQ(geometry(800, 331, s).curves.size(), 6u);
}

}  // namespace
