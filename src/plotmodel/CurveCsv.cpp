#include "plotmodel/CurveCsv.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

void appendField(std::string& text, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        text += field;
        return;
    }
    text += '"';
    for (const char c : field) {
        if (c == '"') text += '"';
        text += c;
    }
    text += '"';
}

// Shortest round-trip form; std::to_chars ignores the locale.
void appendNumber(std::string& text, float value) {
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    text.append(buf, result.ptr);
}

}  // namespace

std::string channelCurveName(int channel, std::string_view ownName) {
    std::string name = "Kanal " + std::to_string(channel + 1);
    if (!ownName.empty()) {
        name += " (";
        name += ownName;
        name += ')';
    }
    return name;
}

std::string curvesCsv(const std::vector<CsvCurve>& curves, std::string_view unit, int first,
                      int end) {
    first = std::clamp(first, 0, ResponsePointCount);
    end = std::clamp(end, first, ResponsePointCount);
    std::string text = "Frequenz [Hz]";
    for (const CsvCurve& curve : curves) {
        text += ',';
        appendField(text, curve.name + " [" + std::string(unit == "°" ? "deg" : unit) + "]");
    }
    text += '\n';
    text.reserve(text.size() + static_cast<std::size_t>(end - first) * (curves.size() + 1) * 14);
    const ResponseGrid grid;
    for (int j = first; j < end; ++j) {
        appendNumber(text, grid[j]);
        for (const CsvCurve& curve : curves) {
            text += ',';
            if (!std::isnan((*curve.values)[j])) appendNumber(text, (*curve.values)[j]);
        }
        text += '\n';
    }
    return text;
}
