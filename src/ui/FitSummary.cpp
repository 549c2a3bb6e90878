#include "ui/FitSummary.h"

#include <cmath>
#include <cstdio>

#include "model/ChannelFieldText.h"

std::string germanDecimal(double value, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string text = buf;
    if (text.find_first_not_of("-0.,") == std::string::npos && text[0] == '-') text.erase(0, 1);
    for (char& c : text) {
        if (c == '.') c = ',';
    }
    return text;
}

std::string fitErrorLine(const FitResult& result) {
    std::string line = "Fehler vorher " + germanDecimal(result.errorBeforeDb, 1) + " dB, nachher " +
                       germanDecimal(result.errorAfterDb, 1) + " dB";
    if (result.errorFreeDb) {
        line += "; ohne Raster wären " + germanDecimal(*result.errorFreeDb, 1) + " dB möglich";
    }
    return line;
}

std::vector<FitRow> fitRows(const ChannelRecord& before, const ChannelRecord& after,
                            const std::array<bool, EqBandCount>& keep) {
    std::vector<FitRow> rows;
    for (int e = 0; e < EqBandCount; ++e) {
        FitRow row{"EQ" + std::to_string(e + 1), eqBandText(before.eq[e], e),
                   eqBandText(after.eq[e], e), !(before.eq[e] == after.eq[e])};
        if (keep[static_cast<std::size_t>(e)]) row.after = "beibehalten";
        rows.push_back(row);
    }
    const auto level = [](int db) { return (db > 0 ? "+" : "") + std::to_string(db) + " dB"; };
    rows.push_back({"Pegel", level(before.level), level(after.level), before.level != after.level});
    return rows;
}

PlotPreview fitPreview(const FitResult& result, int channel) {
    PlotPreview preview;
    if (result.hz.empty()) return preview;
    const std::string number = std::to_string(channel + 1);
    preview.push_back({channel, CurveStroke::Solid, ResponseQuantity::Magnitude, "Ziel " + number,
                       result.hz, result.targetDb});
    preview.push_back({channel, CurveStroke::Dashed, ResponseQuantity::Magnitude,
                       "Anpassung " + number, result.hz, result.predictedDb});
    return preview;
}
