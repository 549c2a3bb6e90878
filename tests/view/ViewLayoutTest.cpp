#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>

#include "view/ViewLayout.h"

namespace {

// Template 101's fixed controls at 6 x 13 base units: tab 208x212, preset
// frame 156x28, preset buttons 20x10, send and receive 55x34 dialog units.
ViewLayoutInput formAt(int cx, int cy) {
    ViewLayoutInput in;
    in.cx = cx;
    in.cy = cy;
    in.tab = {312, 345};
    in.presetFrame = {234, 46};
    in.presetButtons = {LayoutSize{30, 16}, LayoutSize{30, 16}, LayoutSize{30, 16},
                        LayoutSize{30, 16}};
    in.send = {83, 55};
    in.receive = {83, 55};
    return in;
}

TEST(ViewLayout, PlacesEveryControlAroundTheStretchedPlot) {
    const ViewLayout l = computeViewLayout(formAt(1192, 601));
    EXPECT_EQ(l.plot, (LayoutRect{5, 5, 865, 596}));
    EXPECT_EQ(l.tab, (LayoutRect{875, 5, 1187, 350}));
    EXPECT_EQ(l.presetFrame, (LayoutRect{875, 355, 1187, 401}));
    EXPECT_EQ(l.presetButtons[0], (LayoutRect{895, 375, 925, 391}));
    EXPECT_EQ(l.presetButtons[1], (LayoutRect{940, 375, 970, 391}));
    EXPECT_EQ(l.presetButtons[2], (LayoutRect{985, 375, 1015, 391}));
    EXPECT_EQ(l.presetButtons[3], (LayoutRect{1030, 375, 1060, 391}));
    EXPECT_EQ(l.receive, (LayoutRect{875, 541, 958, 596}));
    EXPECT_EQ(l.send, (LayoutRect{1104, 541, 1187, 596}));
}

TEST(ViewLayout, FixedControlsKeepTheirSizesAtAnyViewSize) {
    for (const auto& [cx, cy] : {std::pair{900, 450}, {1600, 1000}, {2560, 1400}}) {
        const ViewLayoutInput in = formAt(cx, cy);
        const ViewLayout l = computeViewLayout(in);
        EXPECT_EQ(l.tab.width(), in.tab.width);
        EXPECT_EQ(l.tab.height(), in.tab.height);
        EXPECT_EQ(l.tab.right, cx - ViewLayoutMargin);
        EXPECT_EQ(l.send.right, l.tab.right) << "tabs and send button share the right edge";
        EXPECT_EQ(l.presetFrame.height(), in.presetFrame.height);
        EXPECT_EQ(l.presetFrame.width(), in.tab.width);
        EXPECT_EQ(l.plot.bottom, cy - ViewLayoutMargin);
        EXPECT_EQ(l.send.bottom, l.plot.bottom);
        EXPECT_EQ(l.receive.bottom, l.plot.bottom);
        EXPECT_EQ(l.receive.left, l.tab.left);
        for (const LayoutRect& b : l.presetButtons) {
            EXPECT_EQ(b.top, l.presetButtons[0].top);
            EXPECT_EQ(b.bottom, l.presetButtons[0].bottom);
            EXPECT_EQ(b.width(), 30);
        }
    }
}

TEST(ViewLayout, ButtonsOfDifferentSizesFollowTheirRules) {
    ViewLayoutInput in = formAt(1000, 500);
    in.presetButtons[1] = {40, 30};  // only its width counts; bottom follows button 1
    in.receive = {70, 90};           // own width, but the send button's height
    in.send = {90, 20};
    const ViewLayout l = computeViewLayout(in);
    EXPECT_EQ(l.presetButtons[1].width(), 40);
    EXPECT_EQ(l.presetButtons[1].height(), 16);
    EXPECT_EQ(l.presetButtons[2].left, l.presetButtons[1].right + 3 * ViewLayoutMargin);
    EXPECT_EQ(l.receive.width(), 70);
    EXPECT_EQ(l.receive.height(), 20);
    EXPECT_EQ(l.send.width(), 90);
    EXPECT_EQ(l.send.height(), 20);
}

// How far apart two rectangles are (negative where they overlap).
int gapBetween(const LayoutRect& a, const LayoutRect& b) {
    return std::max({b.left - a.right, a.left - b.right, b.top - a.bottom, a.top - b.bottom});
}

int smallestGap(const ViewLayout& l) {
    const LayoutRect* rects[] = {&l.plot, &l.tab, &l.presetFrame, &l.receive, &l.send};
    int gap = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < std::size(rects); ++i) {
        for (std::size_t j = i + 1; j < std::size(rects); ++j) {
            gap = std::min(gap, gapBetween(*rects[i], *rects[j]));
        }
    }
    return gap;
}

TEST(ViewLayout, AtItsMinimumSizeNoControlCoversAnother) {
    const LayoutSize min = minimumViewSize(formAt(0, 0));
    EXPECT_EQ(min.width, 320 + 312 + 4 * ViewLayoutMargin);
    EXPECT_EQ(min.height, 345 + 46 + 55 + 4 * ViewLayoutMargin);
    EXPECT_LE(min.width, 1192) << "the start-up size is above it";
    EXPECT_LE(min.height, 601);

    for (const auto& [cx, cy] :
         {std::pair{min.width, min.height}, {1192, 601}, {min.width, 1400}, {2560, min.height}}) {
        const ViewLayout l = computeViewLayout(formAt(cx, cy));
        EXPECT_GE(smallestGap(l), ViewLayoutMargin) << cx << "x" << cy;
        EXPECT_GE(l.plot.width(), ViewMinimumPlotWidth);
        for (const LayoutRect& b : l.presetButtons) {
            EXPECT_GE(gapBetween(b, l.receive), ViewLayoutMargin);
            EXPECT_TRUE(b.left > l.presetFrame.left && b.right < l.presetFrame.right &&
                        b.top > l.presetFrame.top && b.bottom < l.presetFrame.bottom);
        }
    }
    // One pixel lower the buttons close in on the preset frame; one narrower
    // the plot shrinks below its minimum. At 640 x 420 they cover each other.
    EXPECT_LT(smallestGap(computeViewLayout(formAt(min.width, min.height - 1))), ViewLayoutMargin);
    EXPECT_LT(computeViewLayout(formAt(min.width - 1, min.height)).plot.width(),
              ViewMinimumPlotWidth);
    EXPECT_LT(smallestGap(computeViewLayout(formAt(632, 321))), 0);  // the view of 640 x 420
}

TEST(ViewLayout, ATinyViewNeverGivesThePlotANegativeSize) {
    for (const auto& [cx, cy] : {std::pair{0, 0}, {100, 3}, {320, 700}, {1200, 6}}) {
        const ViewLayout l = computeViewLayout(formAt(cx, cy));
        EXPECT_GE(l.plot.width(), 0) << cx << "x" << cy;
        EXPECT_GE(l.plot.height(), 0) << cx << "x" << cy;
        EXPECT_EQ(l.plot.left, ViewLayoutMargin);
        EXPECT_EQ(l.plot.top, ViewLayoutMargin);
    }
    // Just wide enough: the plot has zero width, the tab still sits right of it.
    const ViewLayout edge = computeViewLayout(formAt(312 + 4 * ViewLayoutMargin, 600));
    EXPECT_EQ(edge.plot.width(), 0);
    EXPECT_EQ(edge.tab.left, edge.plot.right + 2 * ViewLayoutMargin);
}

}  // namespace
