#include "view/ViewLayout.h"

#include <algorithm>

namespace {

LayoutRect atOwnSize(int left, int top, LayoutSize size) {
    return {left, top, left + size.width, top + size.height};
}

}  // namespace

ViewLayout computeViewLayout(const ViewLayoutInput& in) {
    constexpr int M = ViewLayoutMargin;
    ViewLayout out;

    // The right and bottom edges the other controls hang on; the plot itself
    // is clamped only afterwards.
    const int plotRight = in.cx - in.tab.width - 3 * M;
    const int plotBottom = in.cy - M;
    out.plot = {M, M, std::max(M, plotRight), std::max(M, plotBottom)};

    out.tab = atOwnSize(plotRight + 2 * M, M, in.tab);

    out.presetFrame = {out.tab.left, out.tab.bottom + M, out.tab.right,
                       out.tab.bottom + M + in.presetFrame.height};

    const int buttonTop = out.presetFrame.top + 4 * M;
    out.presetButtons[0] = atOwnSize(out.presetFrame.left + 4 * M, buttonTop, in.presetButtons[0]);
    for (std::size_t i = 1; i < out.presetButtons.size(); ++i) {
        const int left = out.presetButtons[i - 1].right + 3 * M;
        out.presetButtons[i] = {left, buttonTop, left + in.presetButtons[i].width,
                                out.presetButtons[0].bottom};
    }

    // The receive button takes the send button's height, so both end level.
    out.receive = {plotRight + 2 * M, plotBottom - in.send.height,
                   plotRight + 2 * M + in.receive.width, plotBottom};
    out.send = {in.cx - M - in.send.width, plotBottom - in.send.height, in.cx - M, plotBottom};
    return out;
}

LayoutSize minimumViewSize(const ViewLayoutInput& in) {
    constexpr int M = ViewLayoutMargin;
    return {M + ViewMinimumPlotWidth + 2 * M + in.tab.width + M,
            M + in.tab.height + M + in.presetFrame.height + M + in.send.height + M};
}
