#include "plotmodel/CursorReadout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "plotmodel/CurveCsv.h"

namespace {

// `value` with `decimals` decimals; with `sign`, a "+" before a positive
// value. What rounds to zero reads "0.0", never "-0.0" or "+0.0". Beyond
// ReadoutFixedLimit (a group delay next to an exact null of a sum) in
// scientific form, "+3.40e+38".
constexpr double ReadoutFixedLimit = 1e5;

std::string fixed(double value, int decimals, bool sign) {
    char buf[48];
    const bool huge = std::fabs(value) >= ReadoutFixedLimit;
    const auto result = std::to_chars(
        buf, buf + sizeof buf, value,
        huge ? std::chars_format::scientific : std::chars_format::fixed, huge ? 2 : decimals);
    std::string text(buf, result.ptr);
    const bool zero = text.find_first_of("123456789") == std::string::npos;
    if (zero && text.front() == '-') text.erase(text.begin());
    if (sign && !zero && text.front() != '-') text.insert(text.begin(), '+');
    return text;
}

}  // namespace

int nearestGridPoint(const PlotAxes& axes, const ResponseGrid& grid, GridSpan span, int width,
                     int x) {
    if (span.empty() || width <= 0) return -1;
    // The grid has 100 points per decade from 2 Hz: invert the axis for a
    // first guess. x never falls along the grid, so the distance to x falls
    // and then rises: walk downhill from the guess to the lowest point at
    // the least distance.
    const double logHz =
        axes.logStart() + (axes.logEnd() - axes.logStart()) * static_cast<double>(x) / width;
    const double guess =
        std::round((logHz - std::log10(ResponseGridStartHz)) * ResponsePointsPerDecade);
    int j = static_cast<int>(std::clamp<double>(guess, span.first, span.last));
    const auto distance = [&](int k) { return std::abs(axes.xOfHz(grid[k]) - x); };
    while (j < span.last && distance(j + 1) < distance(j)) ++j;
    while (j > span.first && distance(j - 1) <= distance(j)) --j;
    return j;
}

int readoutBoxLeft(int lineX, int boxWidth, int gap, int clearLeft, int width) {
    const int lastColumn = width - 1;  // the frame's
    const int right = lineX + gap;
    if (right + boxWidth <= lastColumn) return right;
    const int left = lineX - gap - boxWidth;
    if (left >= clearLeft) return left;
    return std::max(clearLeft, lastColumn - boxWidth);
}

CursorReadout cursorReadout(const PlotContent& content, const ResponseGrid& grid, int point) {
    CursorReadout readout;
    if (point < 0 || point >= PlotCurvePointCount) return readout;
    readout.point = point;
    readout.hz = grid[point];
    readout.frequency = readoutFrequencyText(readout.hz);
    readout.unit = std::string(quantityUnit(content.quantity));
    for (const ShownCurve& curve : content.curves) {
        ReadoutEntry entry;
        entry.id = curve.id;
        entry.name = curve.id >= 0 && curve.id < ChannelCount
                         ? channelCurveName(
                               curve.id, content.channelNames[static_cast<std::size_t>(curve.id)])
                         : plotCurveName(curve.id);
        entry.value = (*curve.values)[static_cast<std::size_t>(point)];
        entry.text = readoutValueText(entry.value, content.quantity);
        entry.number = readoutNumberText(entry.value, content.quantity);
        if (curve.id >= 0 && curve.id < ChannelCount) {
            entry.delay = readoutDelayText(content.delayMs[static_cast<std::size_t>(curve.id)]);
        }
        readout.entries.push_back(std::move(entry));
    }
    // The measurements and predictions where they reach, beneath their
    // channels, then what a dialog shows.
    std::vector<const OverlayCurve*> overlays;
    for (const OverlayCurve& overlay : content.overlays) overlays.push_back(&overlay);
    for (const OverlayCurve& preview : content.previews) overlays.push_back(&preview);
    for (const OverlayCurve* overlay : overlays) {
        const std::optional<double> value = overlayValueAt(*overlay, readout.hz);
        if (!value) continue;
        ReadoutEntry entry;
        entry.id = overlay->channel;
        entry.name =
            overlay->name
                ? *overlay->name
                : std::string(overlay->stroke == CurveStroke::Dashed ? "Vorhersage " : "Messung ") +
                      std::to_string(overlay->channel + 1);
        entry.value = static_cast<float>(*value);
        entry.text = readoutValueText(entry.value, content.quantity);
        entry.number = readoutNumberText(entry.value, content.quantity);
        readout.entries.push_back(std::move(entry));
    }
    return readout;
}

std::string readoutFrequencyText(double hz) {
    return fixed(hz, hz < 100 ? 1 : 0, false) + " Hz";
}

std::string readoutNumberText(float value, ResponseQuantity quantity) {
    switch (quantity) {
        case ResponseQuantity::Phase:
            return fixed(value, 1, true);
        case ResponseQuantity::GroupDelay:
            return fixed(value, 3, true);
        case ResponseQuantity::Magnitude:
            break;
    }
    if (value <= SilenceDb) return "-∞";
    return fixed(value, 1, true);
}

std::string readoutValueText(float value, ResponseQuantity quantity) {
    const std::string_view unit = quantityUnit(quantity);
    return readoutNumberText(value, quantity) + (unit == "°" ? "" : " ") + std::string(unit);
}

std::string readoutDelayText(double ms) {
    return fixed(ms, 3, false) + " ms";
}
