#include "plotmodel/PlotGeometry.h"

#include <cmath>

namespace {

// Axis ends used when a stored frequency gives no usable logarithm.
constexpr double FallbackLogStart = 1.3;
constexpr double FallbackLogEnd = 4.3;
// A frequency label starts this far right of its line (and a range label
// ends this far left of the right edge); two labels keep this much apart.
constexpr int LabelOffset = 3;

int toPixel(double v) {
    if (std::isnan(v)) return static_cast<int>(PlotCoordinateLimit);
    if (v > PlotCoordinateLimit) v = PlotCoordinateLimit;
    if (v < -PlotCoordinateLimit) v = -PlotCoordinateLimit;
    return static_cast<int>(v);  // truncates toward zero
}

// 10^d for the decades a plot can have (d = 0..10: the axis ends below 10^9.4).
std::int64_t powerOfTen(int d) {
    std::int64_t p = 1;
    for (int i = 0; i < d; ++i) p *= 10;
    return p;
}

std::string signedText(int v) {
    return (v >= 0 ? "+" : "") + std::to_string(v);
}

std::string hzText(std::int64_t hz) {
    return std::to_string(hz) + "Hz";
}

// Where the labels go and what they cover.
class LabelFitter {
public:
    LabelFitter(const PlotGeometry& g, const PlotTextWidth& textWidth)
        : m_width(g.width), m_height(g.height), m_textWidth(textWidth) {}

    int widthOf(const std::string& text) const {
        if (m_textWidth) return m_textWidth(text);
        return static_cast<int>(text.size()) * PlotLabelCharWidth;
    }
    // Inside the frame lines with every pixel of its cell.
    bool fitsWhole(const PlotLabel& l) const {
        const std::int64_t right = std::int64_t{l.topLeft.x} + widthOf(l.text);
        return l.topLeft.x >= 1 && right <= m_width - 1 && l.topLeft.y >= 1 &&
               l.topLeft.y + PlotLabelCellHeight <= m_height - 1;
    }
    // Fits whole and keeps clear of `previous` (a label left of it), if any.
    bool fitsAfter(const PlotLabel& l, const PlotLabel* previous) const {
        if (!fitsWhole(l)) return false;
        return previous == nullptr ||
               l.topLeft.x >= previous->topLeft.x + widthOf(previous->text) + LabelOffset;
    }

private:
    int m_width;
    int m_height;
    const PlotTextWidth& m_textWidth;
};

void addFrequencyLabels(PlotGeometry& g, const PlotAxes& axes, int d1, int d2,
                        const PlotTextWidth& textWidth) {
    const LabelFitter fitter(g, textWidth);
    const int top = g.height - PlotLabelCellHeight - 1;
    for (int d = d1; d <= d2; ++d) {
        PlotLabel label{{axes.xOfLog(d, LabelOffset), top}, hzText(powerOfTen(d))};
        if (fitter.fitsAfter(label, g.decadeLabels.empty() ? nullptr : &g.decadeLabels.back())) {
            g.decadeLabels.push_back(std::move(label));
        }
    }
    if (!g.decadeLabels.empty()) return;

    PlotLabel start{{LabelOffset, top}, hzText(std::llround(std::pow(10.0, axes.logStart())))};
    std::string endText = hzText(std::llround(std::pow(10.0, axes.logEnd())));
    const int endX = g.width - 1 - LabelOffset - fitter.widthOf(endText);
    PlotLabel end{{endX, top}, std::move(endText)};
    const bool startFits = fitter.fitsWhole(start);
    if (startFits) g.rangeLabels.push_back(std::move(start));
    if (fitter.fitsAfter(end, startFits ? &g.rangeLabels.back() : nullptr)) {
        g.rangeLabels.push_back(std::move(end));
    }
}

void addMinorLine(PlotGeometry& g, const PlotAxes& axes, std::int64_t hz) {
    const int x = axes.xOfHz(static_cast<double>(hz));
    g.minorLines.push_back({{x, 1}, {x, g.height - 1}});
}

void addGrid(PlotGeometry& g, const PlotAxes& axes, const PlotTextWidth& textWidth) {
    const int w = g.width;
    const int h = g.height;
    g.frame = {{{0, 0}, {w - 1, 0}},
               {{w - 1, 0}, {w - 1, h - 1}},
               {{w - 1, h - 1}, {0, h - 1}},
               {{0, h - 1}, {0, 0}}};

    const double l1 = axes.logStart();
    const double l2 = axes.logEnd();
    // A decade equal to the start itself gets no line: D1 is the first
    // decade strictly above L1 when L1 is whole.
    const int d1 = static_cast<int>(l1 + 1);
    const int d2 = static_cast<int>(l2);
    for (int d = d1; d <= d2; ++d) {
        const int x = axes.xOfLog(d);
        g.decadeLines.push_back({{x, 1}, {x, h - 1}});
    }
    addFrequencyLabels(g, axes, d1, d2, textWidth);

    // Minor lines below the first decade: 9, 8, 7 ... times 10^(D1-1), down
    // to just above the start.
    const double startHz = std::pow(10.0, l1);
    const std::int64_t stepBelow = powerOfTen(d1 - 1);
    for (std::int64_t t = powerOfTen(d1) - stepBelow; startHz < static_cast<double>(t);
         t -= stepBelow) {
        addMinorLine(g, axes, t);
    }
    for (int d = d1; d < d2; ++d) {
        for (int k = 2; k <= 9; ++k) addMinorLine(g, axes, k * powerOfTen(d));
    }
    // Above the last decade: 2, 3 ... times 10^D2, up to just below the end.
    const auto endHz = static_cast<std::int64_t>(std::pow(10.0, l2));
    const std::int64_t stepAbove = powerOfTen(d2);
    for (std::int64_t t = 2 * stepAbove; t < endHz; t += stepAbove) {
        addMinorLine(g, axes, t);
    }

    // Level lines every 5 dB from +20 (above the top edge, clipped) to -30.
    for (int o = -4; o <= 6; ++o) {
        const auto step = static_cast<std::int64_t>(o) * h / 10;  // integer division
        const int y = toPixel(static_cast<double>(step) + axes.zeroDbY());
        g.levelLabels.push_back({{3, y}, signedText(-5 * o)});
        g.levelLines.push_back({{1, y}, {w - 1, y}});
    }
}

}  // namespace

PlotAxes::PlotAxes(int width, int height, std::int32_t startHz, std::int32_t endHz) {
    m_l1 = std::log10(static_cast<double>(startHz));
    if (!(m_l1 > 0)) m_l1 = FallbackLogStart;
    m_l2 = std::log10(static_cast<double>(endHz));
    if (!(m_l2 > 0)) m_l2 = FallbackLogEnd;
    if (!(m_l2 > m_l1)) {
        // Only a file can bring such a range; show the default one rather
        // than an axis of zero or negative length.
        m_l1 = FallbackLogStart;
        m_l2 = FallbackLogEnd;
    }
    m_xs = width / (m_l2 - m_l1);
    m_y0 = height / 3.3;
    m_ys = height / -50.0;
}

int PlotAxes::xOfLog(double logHz, double offset) const {
    return toPixel(logHz * m_xs - m_l1 * m_xs + offset);
}

int PlotAxes::xOfHz(double hz) const {
    return xOfLog(std::log10(hz));
}

int PlotAxes::yOfDb(double db) const {
    return dbScale().yOf(db);
}

int LevelScale::yOf(double v) const {
    return toPixel(v * perUnit + zeroY);
}

PlotSettings PlotSettings::fromImage(const ParameterImage& image) {
    PlotSettings s;
    s.startHz = image.plotStartHz();
    s.endHz = image.plotEndHz();
    s.sixChannels = image.sixChannels();
    for (int c = 0; c < ChannelCount; ++c) {
        s.channelShown[static_cast<std::size_t>(c)] = image.channelShown(c);
    }
    return s;
}

int plotChannelCount(std::uint8_t sixChannels) {
    if (sixChannels == 1) return 6;
    if (sixChannels == 0) return 4;
    return 0;
}

std::vector<int> plotGridXs(const PlotAxes& axes, const ResponseGrid& grid) {
    std::vector<int> xs(static_cast<std::size_t>(PlotCurvePointCount));
    for (int j = 0; j < PlotCurvePointCount; ++j) {
        xs[static_cast<std::size_t>(j)] = axes.xOfHz(grid[j]);
    }
    return xs;
}

PlotCurve plotCurve(int id, const std::vector<int>& xs, const ResponseValues& values,
                    const LevelScale& scale, double breakStep) {
    PlotCurve curve;
    curve.channel = id;
    const auto value = [&](int j) { return values[static_cast<std::size_t>(j)]; };
    // Point j continues the run of point j - 1.
    const auto joins = [&](int j) {
        return std::fabs(static_cast<double>(value(j)) - value(j - 1)) <= breakStep ||
               std::isinf(breakStep);
    };
    int j = 0;
    while (j < PlotCurvePointCount) {
        if (std::isnan(value(j))) {
            ++j;
            continue;
        }
        // Each run reserves its own length only: reserving up to the end of
        // the curve would cost memory quadratic in the number of gaps.
        int end = j + 1;
        while (end < PlotCurvePointCount && !std::isnan(value(end)) && joins(end)) ++end;
        std::vector<PlotPoint>& run = curve.runs.emplace_back();
        run.reserve(static_cast<std::size_t>(end - j));
        for (; j < end; ++j) {
            run.push_back({xs[static_cast<std::size_t>(j)], scale.yOf(value(j))});
        }
    }
    return curve;
}

PlotGeometry computePlotGrid(int width, int height, const PlotSettings& settings,
                             const PlotTextWidth& textWidth) {
    PlotGeometry g;
    if (width <= 0 || height <= 0) return g;
    g.width = width;
    g.height = height;
    addGrid(g, PlotAxes(width, height, settings.startHz, settings.endHz), textWidth);
    return g;
}

PlotGeometry computePlotGeometry(int width, int height, const PlotSettings& settings,
                                 const ResponseGrid& grid, const ChannelResponses& responses,
                                 const PlotTextWidth& textWidth) {
    PlotGeometry g = computePlotGrid(width, height, settings, textWidth);
    if (g.width == 0) return g;
    const PlotAxes axes(width, height, settings.startHz, settings.endHz);
    const int n = plotChannelCount(settings.sixChannels);
    std::vector<int> xs;
    for (int c = 0; c < n; ++c) {
        if (settings.channelShown[static_cast<std::size_t>(c)] == 0) continue;
        if (xs.empty()) xs = plotGridXs(axes, grid);
        g.curves.push_back(
            plotCurve(c, xs, responses[static_cast<std::size_t>(c)].db, axes.dbScale()));
    }
    return g;
}
