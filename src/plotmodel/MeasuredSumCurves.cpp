#include "plotmodel/MeasuredSumCurves.h"

#include "plotmodel/CurveCsv.h"
#include "plotmodel/PlotView.h"

const std::vector<double>* MeasuredSumCurve::values(ResponseQuantity quantity) const {
    switch (quantity) {
        case ResponseQuantity::Magnitude:
            return &db;
        case ResponseQuantity::Phase:
            return &phaseDegrees;
        case ResponseQuantity::GroupDelay:
            break;
    }
    return nullptr;
}

std::string measuredSumName(int side, const std::vector<int>& leftOut) {
    std::string name = std::string(SumCurveNames[static_cast<std::size_t>(side)]) + " (gemessen";
    for (std::size_t k = 0; k < leftOut.size(); ++k) {
        name += k == 0 ? ", ohne " : k + 1 == leftOut.size() ? " und " : ", ";
        name += channelCurveName(leftOut[k]);
    }
    return name + ')';
}

void addMeasuredSums(PlotContent& content, const MeasuredSumCurves& sums) {
    for (const ShownCurve& curve : content.curves) {
        const int side = curve.id - PlotSumCurve;
        if (side < 0 || side >= SumCount) continue;
        const MeasuredSumCurve& sum = sums[static_cast<std::size_t>(side)];
        const std::vector<double>* values = sum.values(content.quantity);
        if (sum.empty() || values == nullptr) continue;
        OverlayCurve overlay{curve.id, CurveStroke::Dotted, &sum.hz, values, 0.0};
        overlay.name = &sum.name;
        content.overlays.push_back(overlay);
    }
}
