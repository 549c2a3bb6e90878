#include "plotmodel/PlotView.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/DelayUnits.h"
#include "plotmodel/CurveCsv.h"

namespace {

// Where the labelled lines of the phase and group-delay axes run: from a
// twentieth of the height below the top to a tenth above the bottom, which
// keeps the bottom row free for the frequency labels.
constexpr double AxisTopFraction = 0.05;
constexpr double AxisBottomFraction = 0.9;

constexpr double PhaseStepDegrees = 45.0;
constexpr double PhaseLimitDegrees = 180.0;

// The group-delay axis: at least this span, at most this many steps, and
// values beyond the limit count as the limit.
constexpr double GroupDelayMinSpanMs = 1.0;
constexpr int GroupDelayMaxSteps = 8;
constexpr double GroupDelayLimitMs = 1000.0;

// Level labels lie with the top of their cell on their line; a label is left
// out where its cell would overlap the one above or the frequency labels,
// which start this far above the bottom.
constexpr int LabelRowHeight = 15;

// The labelled lines from `high` down to `low` every `step`, mapped onto the
// plot's band for level lines.
ViewLevelAxis linearAxis(int height, double high, double low, double step) {
    ViewLevelAxis axis;
    const double top = height * AxisTopFraction;
    const double bottom = height * AxisBottomFraction;
    axis.scale.perUnit = -(bottom - top) / (high - low);
    axis.scale.zeroY = top - high * axis.scale.perUnit;
    const auto steps = static_cast<int>(std::lround((high - low) / step));
    for (int k = 0; k <= steps; ++k) axis.lines.push_back(high - k * step);
    axis.decimals = step < 1.0 ? 1 : 0;
    return axis;
}

std::string axisLabel(double value, int decimals, std::string_view unit) {
    char buf[32];
    const double rounded = std::abs(value) < 1e-9 ? 0.0 : value;
    const auto result =
        std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, decimals);
    std::string text(buf, result.ptr);
    if (rounded > 0) text.insert(text.begin(), '+');
    if (unit != "°") text += ' ';
    text += unit;
    return text;
}

void replaceLevelLines(PlotGeometry& g, const ViewLevelAxis& axis, std::string_view unit) {
    g.levelLines.clear();
    g.levelLabels.clear();
    int freeFrom = std::numeric_limits<int>::min();  // first row a label may use
    for (double value : axis.lines) {
        const int y = axis.scale.yOf(value);
        g.levelLines.push_back({{1, y}, {g.width - 1, y}});
        if (y >= freeFrom && y + LabelRowHeight <= g.height - LabelRowHeight) {
            g.levelLabels.push_back({{3, y}, axisLabel(value, axis.decimals, unit)});
            freeFrom = y + LabelRowHeight;
        }
    }
}

// Lowest and highest finite value of `curves` over `span`.
std::pair<double, double> valueRange(const std::vector<const ResponseValues*>& curves,
                                     GridSpan span) {
    double low = std::numeric_limits<double>::quiet_NaN();
    double high = low;
    for (const ResponseValues* values : curves) {
        for (int j = span.first; j <= span.last; ++j) {
            const double v = (*values)[static_cast<std::size_t>(j)];
            if (!std::isfinite(v)) continue;
            low = std::isnan(low) ? v : std::min(low, v);
            high = std::isnan(high) ? v : std::max(high, v);
        }
    }
    return {low, high};
}

// The channel curves of a view: the magnitude path's in the magnitude view.
const ResponseValues& channelValues(ResponseQuantity quantity, const ChannelResponses& magnitudes,
                                    const ComplexResponses* complexResponses, int c) {
    const auto i = static_cast<std::size_t>(c);
    if (quantity == ResponseQuantity::Magnitude) return magnitudes[i].db;
    return complexResponses->channels[i].values(quantity);
}

// The sums a choice draws: those of sides that some channel feeds.
std::vector<int> drawnSums(const PlotViewChoice& choice, const ComplexResponses* complexResponses) {
    std::vector<int> sides;
    for (int s = 0; choice.sums && complexResponses != nullptr && s < SumCount; ++s) {
        if (complexResponses->sumChannelCount[static_cast<std::size_t>(s)] > 0) sides.push_back(s);
    }
    return sides;
}

}  // namespace

bool needsComplexResponses(const PlotViewChoice& choice) {
    return choice.quantity != ResponseQuantity::Magnitude || choice.sums;
}

std::string_view quantityName(ResponseQuantity quantity) {
    switch (quantity) {
        case ResponseQuantity::Phase:
            return "phase";
        case ResponseQuantity::GroupDelay:
            return "groupdelay";
        case ResponseQuantity::Magnitude:
            break;
    }
    return "magnitude";
}

std::optional<ResponseQuantity> quantityFromName(std::string_view name) {
    for (ResponseQuantity q :
         {ResponseQuantity::Magnitude, ResponseQuantity::Phase, ResponseQuantity::GroupDelay}) {
        if (name == quantityName(q)) return q;
    }
    return std::nullopt;
}

std::string plotCurveName(int id) {
    if (id >= PlotSumCurve && id < PlotSumCurve + SumCount) {
        return std::string(SumCurveNames[static_cast<std::size_t>(id - PlotSumCurve)]);
    }
    return channelCurveName(id);
}

PlotContent plotContent(const ParameterImage& image, const PlotViewChoice& choice,
                        const ChannelResponses& magnitudes,
                        const ComplexResponses* complexResponses) {
    PlotContent content;
    content.quantity = choice.quantity;
    auto values = [&](int c) {
        return &channelValues(choice.quantity, magnitudes, complexResponses, c);
    };
    const int preset = image.activePreset();
    std::array<bool, ChannelCount> scaled{};
    const int n = plotChannelCount(image.sixChannels());
    for (int c = 0; c < n; ++c) {
        if (image.channelShown(c) == 0) continue;
        content.curves.push_back({c, values(c)});
        scaled[static_cast<std::size_t>(c)] = true;
    }
    for (int s : drawnSums(choice, complexResponses)) {
        const ResponseCurves& sum = complexResponses->sums[static_cast<std::size_t>(s)];
        content.curves.push_back({PlotSumCurve + s, &sum.values(choice.quantity)});
        // All six channels make up a sum, whatever the toolbar shows.
        for (int c = 0; c < ChannelCount; ++c) {
            if (inputFeedsSide(image.field(preset, c, ChannelField::input), s)) {
                scaled[static_cast<std::size_t>(c)] = true;
            }
        }
    }
    for (int c = 0; c < ChannelCount; ++c) {
        if (scaled[static_cast<std::size_t>(c)]) content.scaleCurves.push_back(values(c));
        content.delayMs[static_cast<std::size_t>(c)] =
            delayMilliseconds(image.field(preset, c, ChannelField::delayTaps));
    }
    return content;
}

std::string plotCurvesCsv(const PlotViewChoice& choice, const ChannelResponses& magnitudes,
                          const ComplexResponses* complexResponses, const ChannelNames& names,
                          const MeasuredSumCurves* measured) {
    std::vector<CsvCurve> curves;
    for (int c = 0; c < ChannelCount; ++c) {
        curves.push_back({channelCurveName(c, names[static_cast<std::size_t>(c)]),
                          &channelValues(choice.quantity, magnitudes, complexResponses, c)});
    }
    const std::vector<int> sums = drawnSums(choice, complexResponses);
    for (int s : sums) {
        curves.push_back(
            {plotCurveName(PlotSumCurve + s),
             &complexResponses->sums[static_cast<std::size_t>(s)].values(choice.quantity)});
    }
    // The measured sums on the whole grid, not a number where they do not
    // reach; sized before any column borrows from them.
    std::vector<ResponseValues> gridded;
    gridded.reserve(SumCount);
    for (int s : sums) {
        if (measured == nullptr) break;
        const MeasuredSumCurve& sum = (*measured)[static_cast<std::size_t>(s)];
        const std::vector<double>* values = sum.values(choice.quantity);
        if (sum.empty() || values == nullptr) continue;
        ResponseValues& column = gridded.emplace_back();
        column.fill(std::numeric_limits<float>::quiet_NaN());
        for (std::size_t k = 0; k < values->size(); ++k) {
            const auto j = static_cast<std::size_t>(sum.first) + k;
            if (j < column.size()) column[j] = static_cast<float>((*values)[k]);
        }
        curves.push_back({sum.name, &column});
    }
    return curvesCsv(curves, quantityUnit(choice.quantity));
}

GridSpan visibleGridSpan(const PlotAxes& axes, const ResponseGrid& grid, int width) {
    // x never falls along the grid: two binary searches.
    auto firstWhere = [&](auto inside) {
        int lo = 0;
        int hi = PlotCurvePointCount;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (inside(axes.xOfHz(grid[mid]))) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        return lo;
    };
    GridSpan span;
    span.first = firstWhere([](int x) { return x >= 0; });
    span.last = firstWhere([width](int x) { return x >= width; }) - 1;
    return span;
}

ViewLevelAxis phaseAxis(int height) {
    ViewLevelAxis axis =
        linearAxis(height, PhaseLimitDegrees, -PhaseLimitDegrees, PhaseStepDegrees);
    // A wrap jumps by nearly 360 degrees; no real step between neighbouring
    // grid points comes near half of that.
    axis.breakStep = PhaseLimitDegrees;
    return axis;
}

ViewLevelAxis groupDelayAxis(int height, double low, double high) {
    auto limited = [](double v) {
        return std::isnan(v) ? 0.0 : std::clamp(v, -GroupDelayLimitMs, GroupDelayLimitMs);
    };
    double lo = std::min({0.0, limited(low), limited(high)});
    double hi = std::max({0.0, limited(low), limited(high)});
    if (hi - lo < GroupDelayMinSpanMs) hi = lo + GroupDelayMinSpanMs;
    // The smallest step of 1, 2 or 5 times a power of ten that covers the
    // span in at most GroupDelayMaxSteps steps, once the ends are rounded
    // out to whole steps.
    double step = 0.1;
    for (int k = 0;; ++k) {
        step = std::pow(10.0, k / 3 - 1) * (k % 3 == 0 ? 1.0 : k % 3 == 1 ? 2.0 : 5.0);
        const double top = std::ceil(hi / step - 1e-9) * step;
        const double bottom = std::floor(lo / step + 1e-9) * step;
        if ((top - bottom) / step <= GroupDelayMaxSteps + 1e-9) {
            hi = top;
            lo = bottom;
            break;
        }
    }
    return linearAxis(height, hi, lo, step);
}

PlotGeometry computeViewGeometry(int width, int height, const PlotSettings& settings,
                                 const ResponseGrid& grid, const PlotContent& content,
                                 const PlotTextWidth& textWidth) {
    PlotGeometry g = computePlotGrid(width, height, settings, textWidth);
    if (g.width == 0) return g;
    const PlotAxes axes(width, height, settings.startHz, settings.endHz);
    LevelScale scale = axes.dbScale();
    double breakStep = std::numeric_limits<double>::infinity();
    if (content.quantity != ResponseQuantity::Magnitude) {
        ViewLevelAxis axis;
        if (content.quantity == ResponseQuantity::Phase) {
            axis = phaseAxis(height);
        } else {
            const auto [low, high] =
                valueRange(content.scaleCurves, visibleGridSpan(axes, grid, width));
            axis = groupDelayAxis(height, low, high);
        }
        replaceLevelLines(g, axis, quantityUnit(content.quantity));
        scale = axis.scale;
        breakStep = axis.breakStep;
    }
    for (const OverlayCurve& overlay : content.overlays) {
        g.overlays.push_back(plotOverlayCurve(overlay, axes, scale, width, breakStep));
    }
    for (const OverlayCurve& preview : content.previews) {
        g.previews.push_back(plotOverlayCurve(preview, axes, scale, width, breakStep));
    }
    if (content.curves.empty()) return g;
    const std::vector<int> xs = plotGridXs(axes, grid);
    for (const ShownCurve& curve : content.curves) {
        g.curves.push_back(plotCurve(curve.id, xs, *curve.values, scale, breakStep));
    }
    return g;
}
