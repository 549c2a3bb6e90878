#include "plotmodel/PreviewCurves.h"

void addPreviewCurves(PlotContent& content, const PlotPreview& preview) {
    for (const PreviewCurve& curve : preview) {
        if (curve.quantity != content.quantity || curve.hz.size() != curve.values.size()) continue;
        OverlayCurve overlay{curve.id, curve.stroke, &curve.hz, &curve.values, 0.0};
        overlay.name = &curve.name;
        content.previews.push_back(overlay);
    }
}
