#include "plotmodel/OverlayCurve.h"

#include <algorithm>
#include <cmath>

#include "plotmodel/EnvelopeReducer.h"
#include "response/LogInterpolation.h"

PlotCurve plotOverlayCurve(const OverlayCurve& curve, const PlotAxes& axes, const LevelScale& scale,
                           int width, double breakStep) {
    PlotCurve out;
    out.channel = curve.channel;
    out.stroke = curve.stroke;
    if (curve.hz == nullptr || curve.values == nullptr || width <= 0) return out;
    const std::vector<double>& hz = *curve.hz;
    const std::vector<double>& values = *curve.values;
    const auto n = static_cast<std::ptrdiff_t>(std::min(hz.size(), values.size()));

    // The frequencies rise: the points inside the plot lie between two
    // binary searches, widened by one point on each side for the line to
    // the edge.
    const auto xAt = [&](double f) { return axes.xOfHz(f); };
    std::ptrdiff_t first =
        std::partition_point(hz.begin(), hz.begin() + n, [&](double f) { return xAt(f) < 0; }) -
        hz.begin();
    std::ptrdiff_t last =
        std::partition_point(hz.begin(), hz.begin() + n, [&](double f) { return xAt(f) < width; }) -
        hz.begin();
    first = std::max<std::ptrdiff_t>(0, first - 1);
    last = std::min(n, last + 1);

    // Points of one pixel column are thinned by their y.
    EnvelopeReducer<int, int> column;
    std::vector<PlotPoint> run;
    std::vector<PlotPoint> pending;  // the open column's points, by index
    std::ptrdiff_t pendingFrom = 0;
    const auto keep = [&](std::size_t index) {
        run.push_back(pending[index - static_cast<std::size_t>(pendingFrom)]);
    };
    const auto endColumn = [&]() {
        column.flush(keep);
        pending.clear();
    };
    const auto endRun = [&]() {
        endColumn();
        if (!run.empty()) out.runs.push_back(std::move(run));
        run.clear();
    };
    bool open = false;
    for (std::ptrdiff_t i = first; i < last; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const double v = values[u];
        if (std::isnan(v)) {
            endRun();
            open = false;
            continue;
        }
        if (open && !std::isinf(breakStep) && std::fabs(v - values[u - 1]) > breakStep) endRun();
        const PlotPoint p{xAt(hz[u]), scale.yOf(v + curve.offset)};
        if (!pending.empty() && p.x != pending.front().x) endColumn();
        if (pending.empty()) pendingFrom = i;
        pending.push_back(p);
        column.add(u, p.x, p.y, keep);
        open = true;
    }
    endRun();
    return out;
}

std::optional<double> overlayValueAt(const OverlayCurve& curve, double hz) {
    if (curve.hz == nullptr || curve.values == nullptr) return std::nullopt;
    const std::optional<double> value = logInterpolatedAt(*curve.hz, *curve.values, hz);
    if (!value) return std::nullopt;
    return *value + curve.offset;
}
