#pragma once
// Curves a dialog shows in the plot while it is open: the equaliser fit's
// target and the result it predicts, an alignment's candidate sum. They are
// what the dialog is about, so they lie above every other curve; each is in
// the colour of a channel (or of a sum) and drawn as a thin solid line (an
// aim, such as a target) or dashed (a result the dialog would bring about).
// The dialog owns them and hands them over whole on every change; the plot
// draws them until the dialog takes them away. Without a preview the plot
// is drawn exactly as before.

#include <string>
#include <vector>

#include "plotmodel/PlotView.h"

struct PreviewCurve {
    int id = 0;  // whose colour: 0..5 a channel, PlotSumCurve + s sum s
    CurveStroke stroke = CurveStroke::Solid;
    ResponseQuantity quantity = ResponseQuantity::Magnitude;  // the view that shows it
    std::string name;        // in the cursor readout: "Ziel 2", "Anpassung 2"
    std::vector<double> hz;  // rising
    std::vector<double> values;
};

using PlotPreview = std::vector<PreviewCurve>;

// Adds the curves of `preview` that belong to the view of `content` (those
// of its quantity) as its previews. They borrow from `preview`, which must
// stay unchanged while `content` is in use.
void addPreviewCurves(PlotContent& content, const PlotPreview& preview);
