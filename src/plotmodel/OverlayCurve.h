#pragma once
// Curves that bring their own frequencies instead of the response grid's: a
// measurement loaded for a channel and the result predicted from it. They
// are drawn over the plot's logarithmic frequency axis with the view's level
// axis, like the channel curves, but dotted or dashed.
//
// A measurement may hold far more points than the plot has pixel columns;
// the points that fall into one column are reduced to the first, the lowest,
// the highest and the last of them, which covers exactly the pixels all of
// them would cover.

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "plotmodel/PlotGeometry.h"

struct OverlayCurve {
    int channel = 0;  // whose colour
    CurveStroke stroke = CurveStroke::Dotted;
    // Borrowed, of equal length; the frequencies rise. They must stay
    // unchanged while the curve is in use.
    const std::vector<double>* hz = nullptr;
    const std::vector<double>* values = nullptr;
    double offset = 0;  // added to every value (a measurement's normalisation)
    // Its name in the cursor readout; null: "Messung 2" (dotted) or
    // "Vorhersage 2" (dashed).
    const std::string* name = nullptr;
};

// The curve's value at `hz` (its offset included), linear in log frequency
// between its points; nothing outside its frequencies or where a neighbour
// is not a number.
std::optional<double> overlayValueAt(const OverlayCurve& curve, double hz);

// The polyline of `curve` on a plot of `width`. Of the points outside the
// plot's frequency range only the neighbours that carry a line to the edge
// are kept. A value that is not a number, or a step of more than
// `breakStep` between neighbours (a wrapped phase), breaks the line.
PlotCurve plotOverlayCurve(const OverlayCurve& curve, const PlotAxes& axes, const LevelScale& scale,
                           int width, double breakStep = std::numeric_limits<double>::infinity());
