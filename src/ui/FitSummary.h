#pragma once
// What the "Automatisch anpassen" dialog says about a fit, as plain text and
// numbers: the error line, the bands before and after, the curves it lays
// over the plot. German numbers with a decimal comma, as the dialog's other
// texts are German.

#include <array>
#include <string>
#include <vector>

#include "model/ChannelRecord.h"
#include "plotmodel/PreviewCurves.h"
#include "tuning/EqFit.h"

// `value` with exactly `decimals` decimals and a decimal comma ("0,9").
std::string germanDecimal(double value, int decimals);

// "Fehler vorher 3,2 dB, nachher 0,9 dB; ohne Raster wären 0,8 dB möglich";
// without the last part when the result has no free fit (a preview).
std::string fitErrorLine(const FitResult& result);

// One row of the table: "EQ1" .. "EQ6", "Pegel".
struct FitRow {
    std::string name;
    std::string before;
    std::string after;
    bool changed = false;
};
std::vector<FitRow> fitRows(const ChannelRecord& before, const ChannelRecord& after,
                            const std::array<bool, EqBandCount>& keep);

// The target as a thin line ("Ziel 2") and the predicted result dashed
// ("Anpassung 2"), in the colour of `channel` (0..5); empty when the result
// has no curves.
PlotPreview fitPreview(const FitResult& result, int channel);
