// Equalizer APO configuration lines and Room EQ Wizard's filter settings file.

#include <charconv>
#include <cstdio>

#include "interchange/DecimalText.h"
#include "interchange/ExportFidelity.h"
#include "interchange/ExportSections.h"
#include "interchange/FilterExport.h"
#include "interchange/ShelfFit.h"
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

// A coefficient in the shortest form that reads back as the same double.
std::string coefficient(double value) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;  // 32 characters hold any double
    return std::string(buf, end);
}

// The parameters of one filter line, without "Filter N: "; empty for a
// section that the text formats have no type for.
std::string filterParameters(const CookbookFilter& s, bool rewColumns) {
    const char* type = nullptr;
    bool gain = true;
    switch (s.type) {
        case CookbookType::Peaking:
            type = "PK";
            break;
        case CookbookType::LowShelf:
            type = "LSC";
            break;
        case CookbookType::HighShelf:
            type = "HSC";
            break;
        case CookbookType::HighPass:
            type = "HPQ";
            gain = false;
            break;
        case CookbookType::LowPass:
            type = "LPQ";
            gain = false;
            break;
        case CookbookType::HighPassFirstOrder:
        case CookbookType::LowPassFirstOrder:
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

// The cookbook section a text line writes for a device section: the equal
// one, or for a shelf the nearest one.
std::optional<CookbookFilter> textSection(const AnalogSection& s) {
    if (auto equal = equalCookbookFilter(s)) return equal;
    return nearestCookbookShelf(s).filter;
}

// APO's IIR line of the device's own section at one sample rate.
std::string iirParameters(const AnalogSection& s, int rate) {
    const Biquad b = bilinear(analogPrototype(s), rate);
    return "ON IIR Order 2 Coefficients " + coefficient(b.b0) + " " + coefficient(b.b1) + " " +
           coefficient(b.b2) + " 1 " + coefficient(b.a1) + " " + coefficient(b.a2);
}

bool isShelf(const AnalogSection& s) {
    return s.type == SectionType::LowShelf || s.type == SectionType::HighShelf;
}

// The filter lines of one channel; what the format cannot express becomes a
// comment (APO) or is left out (REW), and a warning. `played` gets what the
// program plays at `sampleRate` (APO) or as analog sections (REW, rate 0).
void appendFilters(ExportText& out, const ExportChannel& channel, bool rew, const char* format,
                   int sampleRate, PlayedChannel& played) {
    std::string& text = out.text;
    int number = 0;
    for (const ExportSection& s : channelSections(channel.record, true)) {
        if (!hasUsableValues(s.section)) {
            out.warnings.push_back(channelLabel(channel) + ": " + describeSection(s) +
                                   " hat keine gültigen Werte und fehlt.");
            continue;
        }
        const std::optional<CookbookFilter> cookbook = textSection(s.section);
        const std::string parameters = cookbook ? filterParameters(*cookbook, rew) : std::string();
        if (parameters.empty()) {
            const std::string what = describeSection(s);
            out.warnings.push_back(channelLabel(channel) + ": " + what + " ist in " + format +
                                   " nicht darstellbar und fehlt.");
            if (!rew) text += "# " + what + ": in Equalizer APO nicht darstellbar\n";
            continue;
        }
        const std::string label = filterLabel(++number, rew);
        bool branches = false;
        bool playsExact = false;
        if (!rew && isShelf(s.section)) {
            // The device's shelf itself where APO's rate is one of these; the
            // nearest cookbook shelf at any other.
            for (const int rate : ApoIirSampleRates) {
                if (!(s.section.frequency < rate / 2.0)) continue;
                if (!branches) {
                    text += "# " + s.role +
                            ": bei diesen Abtastraten genau der Shelf des Geräts, " +
                            "bei anderen der nächste " +
                            (cookbook->type == CookbookType::LowShelf ? "LSC" : "HSC") + "\n";
                }
                text += std::string(branches ? "ElseIf" : "If") +
                        ": sampleRate == " + std::to_string(rate) + "\n";
                text += label + iirParameters(s.section, rate) + "\n";
                branches = true;
                playsExact |= rate == sampleRate;
            }
            if (branches) text += "Else:\n";
        }
        text += label + parameters + "\n";
        if (branches) text += "EndIf:\n";
        if (rew) {
            played.analog.push_back(analogPrototype(*cookbook));
        } else if (playsExact) {
            played.digital.push_back(bilinear(analogPrototype(s.section), sampleRate));
        } else if (cookbook->frequency < sampleRate / 2.0) {
            played.digital.push_back(bilinear(analogPrototype(*cookbook), sampleRate));
        }
    }
}

std::string presetLabel(int preset) {
    return "Preset " + std::to_string(preset + 1);
}

std::string delayText(int taps) {
    return formatDecimal(delayMilliseconds(taps), 4) + " ms";
}

}  // namespace

ExportText exportApo(const std::vector<ExportChannel>& channels, int preset, int sampleRate) {
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
        PlayedChannel played;
        played.sampleRate = sampleRate;
        appendFilters(out, c, false, "Equalizer APO", sampleRate, played);
        out.fidelity.push_back(fidelityLine(c, measureFidelity(c.record, played), sampleRate));
    }
    t += "\n# Was Equalizer APO spielt, gegen das Modell des Geräts (20 Hz bis 20 kHz):\n";
    for (const std::string& line : out.fidelity) t += "# " + line + "\n";
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
    PlayedChannel played;
    appendFilters(out, c, true, "Room EQ Wizard", 0, played);
    out.fidelity.push_back(fidelityLine(c, measureFidelity(c.record, played), 0.0));
    return out;
}
