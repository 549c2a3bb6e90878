// The plot geometry of any size, frequency range, channel flags and levels.
// Input: width and height (int32), start and end frequency (int32), the
// channel count byte and the six channel-shown bytes, then the dB values of
// the curves as floats, repeated to fill all 6 x 2000 points (NaN and
// infinities included).
//
// Every coordinate stays within +-PlotCoordinateLimit (for a buffer that fits
// in it; a larger one has its frame and level lines at its own edges, and
// nothing else may leave the limit either); the frame and the eleven
// level lines are always there; the decades run left to right; every
// frequency label fits whole inside the frame and clears the one before it,
// at most one per decade line, and the range's ends are labelled only when no
// decade is; a curve has one point per drawn grid point that is a number,
// split into runs only where a value is not one.

#include <algorithm>
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "plotmodel/PlotGeometry.h"

namespace {

// The largest coordinate a drawing may use: the limit, or the buffer's own
// edges when they lie beyond it.
double g_limit = PlotCoordinateLimit;

bool inLimit(const PlotPoint& p) {
    return std::abs(static_cast<double>(p.x)) <= g_limit &&
           std::abs(static_cast<double>(p.y)) <= g_limit;
}

void checkLines(const std::vector<PlotLine>& lines) {
    for (const PlotLine& l : lines) fuzzCheck(inLimit(l.from) && inLimit(l.to), "line in limit");
}

void checkLabels(const std::vector<PlotLabel>& labels) {
    for (const PlotLabel& l : labels) fuzzCheck(inLimit(l.topLeft), "label in limit");
}

// Frequency labels, measured as the geometry measures them without a painter.
void checkFrequencyLabels(const std::vector<PlotLabel>& labels, int width, int height) {
    auto right = [](const PlotLabel& l) {
        return std::int64_t{l.topLeft.x} +
               static_cast<std::int64_t>(l.text.size()) * PlotLabelCharWidth;
    };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const PlotLabel& l = labels[i];
        fuzzCheck(l.text.size() > 2 && l.text.substr(l.text.size() - 2) == "Hz",
                  "frequency label text");
        fuzzCheck(l.topLeft.x >= 1 && right(l) <= std::int64_t{width} - 1 && l.topLeft.y >= 1 &&
                      std::int64_t{l.topLeft.y} + PlotLabelCellHeight <= std::int64_t{height} - 1,
                  "frequency label fits whole");
        if (i > 0) {
            fuzzCheck(l.topLeft.x >= right(labels[i - 1]) + 3, "frequency labels apart");
        }
    }
}

const ResponseGrid& grid() {
    static const ResponseGrid g;
    return g;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto width = in.take<std::int32_t>();
    const auto height = in.take<std::int32_t>();
    PlotSettings settings;
    settings.startHz = in.take<std::int32_t>();
    settings.endHz = in.take<std::int32_t>();
    settings.sixChannels = in.take<std::uint8_t>();
    for (auto& shown : settings.channelShown) shown = in.take<std::uint8_t>();
    ChannelResponses responses{};
    const std::string_view levels = in.rest();
    const std::size_t floats = levels.size() / sizeof(float);
    if (floats > 0) {
        std::size_t k = 0;
        for (ChannelResponse& r : responses) {
            for (float& v : r.db) {
                std::memcpy(&v, levels.data() + (k++ % floats) * sizeof(float), sizeof(float));
            }
        }
    }

    g_limit =
        std::max({PlotCoordinateLimit, static_cast<double>(width), static_cast<double>(height)});
    const PlotGeometry g = computePlotGeometry(width, height, settings, grid(), responses);
    if (width <= 0 || height <= 0) {
        fuzzCheck(g.frame.empty() && g.curves.empty() && g.levelLines.empty(), "empty geometry");
        return 0;
    }
    fuzzCheck(g.frame.size() == 4 && g.frame[0].from == (PlotPoint{0, 0}) &&
                  g.frame[1].to == (PlotPoint{width - 1, height - 1}),
              "frame");
    fuzzCheck(g.levelLines.size() == 11 && g.levelLabels.size() == 11, "eleven level lines");
    fuzzCheck(g.decadeLabels.size() <= g.decadeLines.size() && g.decadeLines.size() <= 10,
              "at most one label per decade");
    fuzzCheck(g.rangeLabels.size() <= 2 && (g.rangeLabels.empty() || g.decadeLabels.empty()),
              "range ends only without decade labels");
    fuzzCheck(g.minorLines.size() <= 9 * 10, "minor lines bounded");
    for (std::size_t i = 1; i < g.decadeLines.size(); ++i) {
        fuzzCheck(g.decadeLines[i - 1].from.x <= g.decadeLines[i].from.x, "decades left to right");
    }
    checkFrequencyLabels(g.decadeLabels, width, height);
    checkFrequencyLabels(g.rangeLabels, width, height);
    checkLines(g.frame);
    checkLines(g.decadeLines);
    checkLines(g.minorLines);
    checkLines(g.levelLines);
    checkLabels(g.decadeLabels);
    checkLabels(g.rangeLabels);
    checkLabels(g.levelLabels);

    fuzzCheck(static_cast<int>(g.curves.size()) <= plotChannelCount(settings.sixChannels),
              "curves of the counted channels only");
    for (const PlotCurve& curve : g.curves) {
        fuzzCheck(curve.channel >= 0 && curve.channel < ChannelCount &&
                      settings.channelShown[static_cast<std::size_t>(curve.channel)] != 0,
                  "curve of a shown channel");
        std::size_t points = 0;
        for (const auto& run : curve.runs) {
            fuzzCheck(!run.empty(), "no empty run");
            for (const PlotPoint& p : run) fuzzCheck(inLimit(p), "curve point in limit");
            points += run.size();
        }
        std::size_t numbers = 0;
        const auto& db = responses[static_cast<std::size_t>(curve.channel)].db;
        for (int j = 0; j < PlotCurvePointCount; ++j) numbers += std::isnan(db[j]) ? 0 : 1;
        fuzzCheck(points == numbers, "one point per value that is a number");
    }
    return 0;
}
