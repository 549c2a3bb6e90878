#pragma once
// Placement of the main form's controls when the view changes size. Only the
// plot stretches; the tab control, the preset frame with its four buttons and
// the send and receive buttons keep their sizes and are pinned to the right
// edge and to the plot's bottom. Pure arithmetic, in pixels.

#include <array>

struct LayoutSize {
    int width = 0;
    int height = 0;
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// Margin between the controls and to the view's edges.
constexpr int ViewLayoutMargin = 5;
// The narrowest plot the view keeps: the level labels and the decades of the
// default range with their lines stay readable.
constexpr int ViewMinimumPlotWidth = 320;

struct ViewLayoutInput {
    int cx = 0;  // client width of the view
    int cy = 0;  // client height of the view
    LayoutSize tab;
    LayoutSize presetFrame;
    std::array<LayoutSize, 4> presetButtons;
    LayoutSize send;
    LayoutSize receive;
};

struct ViewLayout {
    LayoutRect plot;
    LayoutRect tab;
    LayoutRect presetFrame;
    std::array<LayoutRect, 4> presetButtons;
    LayoutRect receive;
    LayoutRect send;
};

// A view narrower or lower than the fixed controls would give the plot a
// negative size; it is then kept at zero width or height instead, so that the
// plot never sees a negative back-buffer size. Everything else is placed as if
// the plot had its computed edges.
ViewLayout computeViewLayout(const ViewLayoutInput& in);

// The smallest view in which every control keeps the margin to its
// neighbours and the plot keeps ViewMinimumPlotWidth: the tabs beside the
// plot, the preset frame below the tabs, the send and receive buttons below
// the frame. Smaller, the buttons would cover the panel's lowest rows and the
// preset frame. `in.cx` and `in.cy` are not used.
LayoutSize minimumViewSize(const ViewLayoutInput& in);
