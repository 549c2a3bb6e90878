#pragma once
// Where everything of the response plot lies, in pixels of a w x h back
// buffer: the logarithmic frequency axis between the user's start and end
// frequency, the fixed dB axis (50 dB over the height, 0 dB at h / 3.3 from
// the top), the frame, the decade, minor and level lines with their labels,
// and one polyline per visible channel. Pure arithmetic; painting is
// PlotRenderer's job. Every conversion to a pixel truncates toward zero.
//
// The inputs come from files unchecked, so every value is survivable: a start
// or end of 1 Hz or less falls back to 10^1.3 or 10^4.3, a start at or above
// the end shows the default range 10^1.3 .. 10^4.3, coordinates are clamped
// to +-PlotCoordinateLimit before they become ints, and a point that is not a
// number breaks its curve instead of being drawn.

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "model/ParameterImage.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"
#include "response/ResponseGrid.h"

// Far outside any back buffer, yet small enough for every rasteriser.
constexpr double PlotCoordinateLimit = 1.0e6;

// Cell height in pixels of the label font ("Arial", height 14).
constexpr int PlotLabelCellHeight = 14;
// What a label's text covers in pixels, as the label font draws it. The
// painter measures with its font; without a measure every character counts
// PlotLabelCharWidth pixels (about a digit of the label font).
using PlotTextWidth = std::function<int(const std::string& text)>;
constexpr int PlotLabelCharWidth = 7;

// The curves use grid points 0..1998 (the last grid point is never drawn).
constexpr int PlotCurvePointCount = ResponsePointCount - 1;

// The plot's size in the main window at its start-up size of 1200 x 700, as
// the program lays it out (a widget test compares it with the running view).
constexpr int DefaultPlotWidth = 868;
constexpr int DefaultPlotHeight = 619;

struct PlotPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// A straight line from `from` to `to`; like every line of the plot it does
// not include its end pixel.
struct PlotLine {
    PlotPoint from;
    PlotPoint to;
    friend bool operator==(const PlotLine&, const PlotLine&) = default;
};

// Text whose cell has its top-left corner at `topLeft`.
struct PlotLabel {
    PlotPoint topLeft;
    std::string text;
    friend bool operator==(const PlotLabel&, const PlotLabel&) = default;
};

// How a curve's line is drawn: the model's curves solid, a measurement
// dotted, the result predicted from it dashed, each in its channel's colour
// (a dialog's target is solid too, see PreviewCurves.h).
enum class CurveStroke { Solid, Dotted, Dashed };

struct PlotCurve {
    int channel = 0;  // 0..5 a channel, PlotSumCurve + s sum s; selects the pen
    // Connected polylines; more than one only where a value is not a number.
    std::vector<std::vector<PlotPoint>> runs;
    CurveStroke stroke = CurveStroke::Solid;
};

// The curve id of sum s (0 = L, 1 = R); channels are 0..5.
constexpr int PlotSumCurve = ChannelCount;

// A linear level axis: y(v) = trunc(v * perUnit + zeroY), clamped like every
// coordinate. The magnitude view's is PlotAxes::dbScale().
struct LevelScale {
    double zeroY = 0;
    double perUnit = 0;
    int yOf(double v) const;
};

// The mapping from frequency and level to pixels.
class PlotAxes {
public:
    PlotAxes(int width, int height, std::int32_t startHz, std::int32_t endHz);

    double logStart() const { return m_l1; }  // L1
    double logEnd() const { return m_l2; }    // L2
    // x of a frequency, or of log10 of it (plus `offset` pixels before the
    // truncation); y of a level in dB. A value that is not a number yields
    // PlotCoordinateLimit (far outside).
    int xOfHz(double hz) const;
    int xOfLog(double logHz, double offset = 0) const;
    int yOfDb(double db) const;
    double zeroDbY() const { return m_y0; }  // y0 = h / 3.3
    LevelScale dbScale() const { return {m_y0, m_ys}; }

private:
    double m_l1;
    double m_l2;
    double m_xs;
    double m_y0;
    double m_ys;
};

// What a drawing reads from the ParameterImage.
struct PlotSettings {
    std::int32_t startHz = 20;
    std::int32_t endHz = 20000;
    std::uint8_t sixChannels = 1;
    std::array<std::uint8_t, ChannelCount> channelShown{1, 1, 1, 1, 1, 1};

    static PlotSettings fromImage(const ParameterImage& image);
};

struct PlotGeometry {
    int width = 0;
    int height = 0;
    std::vector<PlotLine> frame;  // (0,0) -> (w-1,0) -> (w-1,h-1) -> (0,h-1) -> (0,0)
    std::vector<PlotLine> decadeLines;
    // "100Hz", "1000Hz", ... beside their lines; a label that would not fit
    // whole inside the frame, or would run into the label before it, is left
    // out: cut at the edge, "1000Hz" would read "1000".
    std::vector<PlotLabel> decadeLabels;
    // The range's start and end ("10000Hz" at the left edge, "20000Hz" at
    // the right) when no decade label is drawn, so that every range shows
    // where it lies; each only if it fits whole.
    std::vector<PlotLabel> rangeLabels;
    std::vector<PlotLine> minorLines;    // dotted
    std::vector<PlotLine> levelLines;    // +20 dB (clipped) .. -30 dB
    std::vector<PlotLabel> levelLabels;  // "+20" .. "-30"
    std::vector<PlotCurve> curves;       // visible channels, in channel order
    // Measured curves and what they predict, drawn beneath `curves`.
    std::vector<PlotCurve> overlays;
    // What an open dialog shows, drawn above `curves`.
    std::vector<PlotCurve> previews;
};

// The frame, the frequency grid with its labels and the dB level lines, no
// curves. A zero or negative size gives an empty geometry.
PlotGeometry computePlotGrid(int width, int height, const PlotSettings& settings,
                             const PlotTextWidth& textWidth = {});

// x of the drawn grid points 0..PlotCurvePointCount-1; the same for every curve.
std::vector<int> plotGridXs(const PlotAxes& axes, const ResponseGrid& grid);

// The polyline of one curve with id `id` over the points `xs` of
// plotGridXs(). A value that is not a number breaks the curve, and so does a
// step of more than `breakStep` between neighbouring points (where a wrapped
// phase jumps from one end of its range to the other).
PlotCurve plotCurve(int id, const std::vector<int>& xs, const ResponseValues& values,
                    const LevelScale& scale,
                    double breakStep = std::numeric_limits<double>::infinity());

// The whole picture. A zero or negative size gives an empty geometry.
PlotGeometry computePlotGeometry(int width, int height, const PlotSettings& settings,
                                 const ResponseGrid& grid, const ChannelResponses& responses,
                                 const PlotTextWidth& textWidth = {});

// The number of curves a drawing considers: 6 when `sixChannels` is 1, 4 when
// it is 0, none for any other stored value.
int plotChannelCount(std::uint8_t sixChannels);
