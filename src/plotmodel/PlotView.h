#pragma once
// The plot's three views and what each of them draws:
// - Magnitude, the default: the magnitude path's channel curves on the fixed
//   dB axis, exactly the plot computePlotGeometry() draws.
// - Phase: degrees wrapped to +-180, on an axis of its own from +180 at the
//   top to -180 at the bottom with a line every 45 degrees; a curve is broken
//   where it wraps instead of crossing the whole plot.
// - Group delay in ms, on an automatic axis: it spans the group delay of the
//   channels drawn and of those that feed a drawn sum over the plot's
//   frequency range, always including 0 and at least 1 ms, in steps of
//   1, 2 or 5 times a power of ten with at most 8 steps. The sums are not
//   fitted: next to a null of a sum (channels that cancel) its group delay
//   shoots far out, and the axis would then show nothing else; those spikes
//   run off the plot's edge instead.
// Each view can add the sums L and R (white and black, above the channels);
// a side that no channel feeds is not drawn.
//
// Pure arithmetic: the curves are borrowed from the caller's stored
// responses (they must stay unchanged while the content is in use), and the
// geometry is PlotGeometry's with the view's level axis.

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ParameterImage.h"
#include "plotmodel/MeasuredSumCurves.h"
#include "plotmodel/OverlayCurve.h"
#include "plotmodel/PlotGeometry.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"
#include "response/ResponseGrid.h"

using ChannelNames = std::array<std::string, ChannelCount>;

// What the user chose to see.
struct PlotViewChoice {
    ResponseQuantity quantity = ResponseQuantity::Magnitude;
    bool sums = false;
    friend bool operator==(const PlotViewChoice&, const PlotViewChoice&) = default;
};

// True when the choice needs the complex responses: phase, group delay or
// the sums. The default view needs only the magnitude path.
bool needsComplexResponses(const PlotViewChoice& choice);

// "magnitude", "phase", "groupdelay": the names on filtaro-cli's command
// line and in FILTARO.INI.
std::string_view quantityName(ResponseQuantity quantity);
std::optional<ResponseQuantity> quantityFromName(std::string_view name);

// "Kanal 1" .. "Kanal 6" for the channels, "Summe L" and "Summe R" for the
// sums (PlotSumCurve + s).
std::string plotCurveName(int id);

struct ShownCurve {
    int id = 0;  // 0..5 a channel, PlotSumCurve + s sum s
    const ResponseValues* values = nullptr;
};

// The curves of one drawing, in the unit of `quantity`.
struct PlotContent {
    ResponseQuantity quantity = ResponseQuantity::Magnitude;
    std::vector<ShownCurve> curves;  // drawing order: channels 1..6, then the sums
    // What the automatic group-delay axis fits (see above).
    std::vector<const ResponseValues*> scaleCurves;
    // Each channel's delay in ms, for the readout.
    std::array<double, ChannelCount> delayMs{};
    // The names the user gave the channels (empty: none), for the readout.
    ChannelNames channelNames{};
    // Measurements and their predictions in the view's unit, drawn beneath
    // the curves; they leave the level axis as it is.
    std::vector<OverlayCurve> overlays;
    // What an open dialog shows (PreviewCurves.h), drawn above the curves;
    // they leave the level axis as it is too.
    std::vector<OverlayCurve> previews;
};

// The curves the image's plot settings and `choice` show. In the magnitude
// view the channels come from `magnitudes` (the magnitude path); everything
// else from `complexResponses`, which must be computed when
// needsComplexResponses(choice) and may be null otherwise.
PlotContent plotContent(const ParameterImage& image, const PlotViewChoice& choice,
                        const ChannelResponses& magnitudes,
                        const ComplexResponses* complexResponses);

// The curves as CSV in the view's unit: every channel (shown or not), then
// the sums when they are shown and fed, then the sums the measurements
// predict where `measured` holds them and the view draws them (their cells
// are empty outside the span they cover). The same inputs as plotContent().
// A channel's column carries its name where `names` gives one.
std::string plotCurvesCsv(const PlotViewChoice& choice, const ChannelResponses& magnitudes,
                          const ComplexResponses* complexResponses, const ChannelNames& names = {},
                          const MeasuredSumCurves* measured = nullptr);

// The drawn grid points whose x lies inside a plot of `width` (first..last,
// inclusive); empty (last < first) when none does.
struct GridSpan {
    int first = 0;
    int last = -1;
    bool empty() const { return last < first; }
};
GridSpan visibleGridSpan(const PlotAxes& axes, const ResponseGrid& grid, int width);

// The level axis of the phase or group-delay view on a plot of `height`.
struct ViewLevelAxis {
    LevelScale scale;
    double breakStep = std::numeric_limits<double>::infinity();
    std::vector<double> lines;  // values of the labelled lines, top to bottom
    int decimals = 0;           // of the labels
};
ViewLevelAxis phaseAxis(int height);
// For values from `low` to `high` (ms, any order, NaN ignored).
ViewLevelAxis groupDelayAxis(int height, double low, double high);

// The whole picture of a view. For the magnitude view without sums this is
// computePlotGeometry() of the same curves.
PlotGeometry computeViewGeometry(int width, int height, const PlotSettings& settings,
                                 const ResponseGrid& grid, const PlotContent& content,
                                 const PlotTextWidth& textWidth = {});
