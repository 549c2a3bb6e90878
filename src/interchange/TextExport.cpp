// Equalizer APO configuration lines and Room EQ Wizard's filter settings file.

#include <cstdio>

#include "interchange/DecimalText.h"
#include "interchange/ExportSections.h"
#include "interchange/FieldMapping.h"
#include "interchange/FilterExport.h"
#include "model/DelayUnits.h"

namespace {

// Frequencies with at most two decimals: both programs read a number with a
// point and exactly three digits after it as a thousands group.
std::string hz(double f) {
    return formatDecimal(f, 2);
}
std::string q(double value) {
    return formatDecimal(value, 4);
}

// The parameters of one filter line, without "Filter N: "; empty for a
// section that the text formats have no type for.
std::string filterParameters(const AnalogSection& s, bool rewColumns) {
    const char* type = nullptr;
    bool gain = true;
    switch (s.type) {
        case SectionType::Peaking:
            type = "PK";
            break;
        case SectionType::LowShelf:
            type = "LSC";
            break;
        case SectionType::HighShelf:
            type = "HSC";
            break;
        case SectionType::HighPass:
            type = "HPQ";
            gain = false;
            break;
        case SectionType::LowPass:
            type = "LPQ";
            gain = false;
            break;
        case SectionType::HighPassFirstOrder:
        case SectionType::LowPassFirstOrder:
            return {};
    }
    const char* gap = rewColumns ? "  " : " ";
    std::string line = std::string("ON ") + (rewColumns ? " " : "") + type;
    if (rewColumns) line.append(4 - std::string(type).size(), ' ');
    line += gap + std::string("Fc ") + hz(s.frequency) + " Hz";
    if (gain) line += gap + std::string("Gain ") + formatDecimal(s.gainDb, 2) + " dB";
    return line + gap + "Q " + q(s.q);
}

std::string filterLabel(int number, bool rewColumns) {
    char buf[32];
    std::snprintf(buf, sizeof buf, rewColumns ? "Filter %2d: " : "Filter %d: ", number);
    return buf;
}

// The filter lines of one channel; what the format cannot express becomes a
// comment (APO) or is left out (REW), and a warning.
void appendFilters(std::string& text, std::vector<std::string>& warnings,
                   const ExportChannel& channel, bool rew, const char* format) {
    int number = 0;
    for (const ExportSection& s : channelSections(channel.record, true)) {
        if (!hasUsableValues(s.section)) {
            warnings.push_back(channelLabel(channel) + ": " + describeSection(s) +
                               " hat keine gültigen Werte und fehlt.");
            continue;
        }
        const std::string parameters = filterParameters(s.section, rew);
        if (parameters.empty()) {
            const std::string what = describeSection(s);
            warnings.push_back(channelLabel(channel) + ": " + what + " ist in " + format +
                               " nicht darstellbar und fehlt.");
            if (!rew) text += "# " + what + ": in Equalizer APO nicht darstellbar\n";
            continue;
        }
        text += filterLabel(++number, rew) + parameters + "\n";
    }
}

std::string presetLabel(int preset) {
    return "Preset " + std::to_string(preset + 1);
}

std::string delayText(int taps) {
    return formatDecimal(delayMilliseconds(taps), 4) + " ms";
}

}  // namespace

ExportText exportApo(const std::vector<ExportChannel>& channels, int preset) {
    ExportText out;
    std::string& t = out.text;
    t += "# Filtaro: Einstellungen für Equalizer APO\n";
    const bool blocks = channels.size() > 1;
    if (blocks) {
        t += "# " + presetLabel(preset) +
             "; jeder Kanal des Geräts steht in einem Block \"Channel: 1\" bis \"Channel: " +
             std::to_string(channels.size()) + "\".\n";
    }
    for (const ExportChannel& c : channels) {
        if (blocks) {
            t += "\n# " + channelLabel(c) + "\nChannel: " + std::to_string(c.index + 1) + "\n";
        } else {
            t += "# " + presetLabel(preset) + ", " + channelLabel(c) + "\n";
        }
        t += "Preamp: " + formatDecimal(c.record.level, 0) + " dB\n";
        t += "Delay: " + delayText(c.record.delayTaps) + "\n";
        appendFilters(t, out.warnings, c, false, "Equalizer APO");
    }
    return out;
}

ExportText exportRew(const ExportChannel& c, int preset) {
    ExportText out;
    std::string& t = out.text;
    const std::string label = presetLabel(preset) + ", " + channelLabel(c);
    t += "Filter Settings file\n\nFiltaro\n";
    t += "Notes:" + label + "; Pegel " + formatSignedDecimal(c.record.level, 0) +
         " dB und Verzögerung " + delayText(c.record.delayTaps) +
         " stehen nicht in den Filtern\n\n";
    t += "Equaliser: Generic\n" + label + "\n";
    appendFilters(t, out.warnings, c, true, "Room EQ Wizard");
    return out;
}
