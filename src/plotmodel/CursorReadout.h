#pragma once
// The cursor readout of the plot: the grid point nearest to a column of the
// plot, and the values every drawn curve has there, read from the stored
// curves of the last drawing (nothing is recomputed). Texts use a point as
// the decimal point, like the panel's delay text.

#include <string>
#include <vector>

#include "plotmodel/PlotGeometry.h"
#include "plotmodel/PlotView.h"
#include "response/ResponseGrid.h"

// The grid point of `span` whose x lies nearest to column `x` (the lower one
// on a tie); -1 when the span is empty.
int nearestGridPoint(const PlotAxes& axes, const ResponseGrid& grid, GridSpan span, int width,
                     int x);

struct ReadoutEntry {
    int id = 0;          // the curve's id (PlotCurve::channel)
    std::string name;    // "Kanal 1", "Summe L", "Messung 1", "Vorhersage 1"
    float value = 0;     // the stored value at the point
    std::string text;    // "-3.2 dB", "+45.0°", "+1.041 ms"
    std::string number;  // the same without its unit: "-3.2", "+45.0", "+1.041"
    std::string delay;   // channels: their delay, "1.041 ms"; sums: empty
};

struct CursorReadout {
    int point = -1;  // grid point; -1: no readout
    double hz = 0;
    std::string frequency;              // "47.9 Hz", "1002 Hz"
    std::string unit;                   // of the values: "dB", "°", "ms"
    std::vector<ReadoutEntry> entries;  // in the drawing order of the curves
};

// The readout at grid point `point` (0..PlotCurvePointCount-1) of the curves
// of `content`, then of its overlays where they reach the point's frequency;
// an empty readout for a point outside the grid.
CursorReadout cursorReadout(const PlotContent& content, const ResponseGrid& grid, int point);

// Where the readout box of `boxWidth` pixels starts along a plot `width`
// pixels wide, for the cursor line at `lineX`: `gap` right of the line when
// it fits before the right edge, else `gap` left of it when it stays clear of
// the level labels (which end before column `clearLeft`). Where neither fits,
// at the right edge, as far as the labels allow.
int readoutBoxLeft(int lineX, int boxWidth, int gap, int clearLeft, int width);

std::string readoutFrequencyText(double hz);
// A value in the quantity's unit; a sum that vanishes reads "-∞ dB".
std::string readoutValueText(float value, ResponseQuantity quantity);
// The same without the unit: "-3.2", "+45.0", "-∞".
std::string readoutNumberText(float value, ResponseQuantity quantity);
std::string readoutDelayText(double ms);
