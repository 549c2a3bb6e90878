// A CamillaDSP (version 3) configuration of one preset: two inputs, six
// outputs, one mixer and one filter step per output.

#include <tuple>

#include "interchange/DecimalText.h"
#include "interchange/ExportFidelity.h"
#include "interchange/ExportSections.h"
#include "interchange/FieldMapping.h"
#include "interchange/FilterExport.h"
#include "interchange/YamlWriter.h"
#include "model/DelayUnits.h"
#include "model/ParameterImage.h"

namespace {

constexpr const char* MixerName = "eingaenge_auf_ausgaenge";
constexpr int InputCount = 2;

const char* biquadType(CookbookType t) {
    switch (t) {
        case CookbookType::Peaking:
            return "Peaking";
        case CookbookType::LowShelf:
            return "Lowshelf";
        case CookbookType::HighShelf:
            return "Highshelf";
        case CookbookType::HighPass:
            return "Highpass";
        case CookbookType::LowPass:
            return "Lowpass";
        case CookbookType::HighPassFirstOrder:
            return "HighpassFO";
        case CookbookType::LowPassFirstOrder:
            return "LowpassFO";
    }
    return "";
}

YamlNode biquadParameters(const CookbookFilter& s) {
    YamlNode p = YamlNode::map();
    p.add("type", YamlNode::string(biquadType(s.type)));
    p.add("freq", YamlNode::number(s.frequency));
    switch (s.type) {
        case CookbookType::Peaking:
        case CookbookType::LowShelf:
        case CookbookType::HighShelf:
            p.add("gain", YamlNode::number(s.gainDb));
            p.add("q", YamlNode::number(s.q));
            break;
        case CookbookType::HighPass:
        case CookbookType::LowPass:
            p.add("q", YamlNode::number(s.q));
            break;
        default:
            break;
    }
    return p;
}

// The device's own section at the sample rate: CamillaDSP's "Free" biquad.
YamlNode freeParameters(const Biquad& b) {
    YamlNode p = YamlNode::map();
    p.add("type", YamlNode::string("Free"));
    p.add("a1", YamlNode::number(b.a1));
    p.add("a2", YamlNode::number(b.a2));
    p.add("b0", YamlNode::number(b.b0));
    p.add("b1", YamlNode::number(b.b1));
    p.add("b2", YamlNode::number(b.b2));
    return p;
}

YamlNode filter(const char* type, const std::string& description, YamlNode parameters) {
    YamlNode f = YamlNode::map();
    f.add("type", YamlNode::string(type));
    f.add("description", YamlNode::string(description));
    f.add("parameters", std::move(parameters));
    return f;
}

YamlNode devices(int sampleRate) {
    YamlNode d = YamlNode::map();
    d.add("samplerate", YamlNode::integer(sampleRate));
    d.add("chunksize", YamlNode::integer(1024));
    for (const auto& [key, device, channels] : {std::tuple{"capture", "hw:Loopback,1", InputCount},
                                                std::tuple{"playback", "hw:0", ChannelCount}}) {
        YamlNode& io = d.add(key, YamlNode::map());
        io.add("type", YamlNode::string("Alsa"));
        io.add("channels", YamlNode::integer(channels));
        io.add("device", YamlNode::string(device));
        io.add("format", YamlNode::string("S32LE"));
    }
    return d;
}

YamlNode source(int input) {
    YamlNode s = YamlNode::map();
    s.add("channel", YamlNode::integer(input));
    s.add("gain", YamlNode::number(0));
    s.add("inverted", YamlNode::boolean(false));
    return s;
}

// "Höhen-Shelf 3300 Hz, -6 dB, Q 0.5".
std::string describeShelf(const AnalogSection& s) {
    return std::string(s.type == SectionType::LowShelf ? "Tiefen-Shelf " : "Höhen-Shelf ") +
           formatDecimal(s.frequency, 2) + " Hz, " + formatSignedDecimal(s.gainDb, 2) + " dB, Q " +
           formatDecimal(s.q, 2);
}

// Inputs 0 = L, 1 = R, 2 = L+R (the sum). An input code that selects
// nothing leaves the output silent.
YamlNode mixer(const std::vector<ExportChannel>& channels, std::vector<std::string>& warnings) {
    YamlNode m = YamlNode::map();
    m.add("description", YamlNode::string("Eingänge L und R auf die sechs Ausgänge, wie die "
                                          "Eingangswahl jedes Kanals sie verteilt"));
    YamlNode& counts = m.add("channels", YamlNode::map());
    counts.add("in", YamlNode::integer(InputCount));
    counts.add("out", YamlNode::integer(ChannelCount));
    YamlNode& mapping = m.add("mapping", YamlNode::sequence());
    for (const ExportChannel& c : channels) {
        YamlNode& dest = mapping.push(YamlNode::map());
        dest.add("dest", YamlNode::integer(c.index));
        YamlNode& sources = dest.add("sources", YamlNode::sequence());
        const int input = c.record.input;
        if (input == 0 || input == 2) sources.push(source(0));
        if (input == 1 || input == 2) sources.push(source(1));
        if (input < 0 || input > 2) {
            sources.push(source(0));
            dest.add("mute", YamlNode::boolean(true));
            warnings.push_back(channelLabel(c) + ": Eingangswahl " + std::to_string(input) +
                               " ist keine der drei, der Ausgang bleibt stumm.");
        }
    }
    return m;
}

}  // namespace

ExportText exportCamillaDsp(const std::vector<ExportChannel>& channels, int preset,
                            int sampleRate) {
    ExportText out;
    const std::string presetText = "Preset " + std::to_string(preset + 1);
    YamlNode root = YamlNode::map();
    root.add("title", YamlNode::string("Filtaro " + presetText));
    root.add("description", YamlNode::string("Weiche und Equalizer der sechs Kanäle von " +
                                             presetText + ", aus Filtaro"));
    root.add("devices", devices(sampleRate));
    root.add("mixers", YamlNode::map()).add(MixerName, mixer(channels, out.warnings));
    YamlNode filters = YamlNode::map();
    YamlNode pipeline = YamlNode::sequence();
    YamlNode& mixStep = pipeline.push(YamlNode::map());
    mixStep.add("type", YamlNode::string("Mixer"));
    mixStep.add("name", YamlNode::string(MixerName));

    const double nyquist = sampleRate / 2.0;
    for (const ExportChannel& c : channels) {
        const std::string label = channelLabel(c);
        const std::string prefix = "kanal" + std::to_string(c.index + 1) + "_";
        YamlNode names = YamlNode::flowSequence();
        auto addFilter = [&](const std::string& name, YamlNode f) {
            filters.add(name, std::move(f));
            names.push(YamlNode::string(name));
        };
        YamlNode gain = YamlNode::map();
        gain.add("gain", YamlNode::number(c.record.level));
        addFilter(prefix + "pegel", filter("Gain", label + ": Pegel", std::move(gain)));
        YamlNode delay = YamlNode::map();
        delay.add("delay", YamlNode::number(delayMilliseconds(c.record.delayTaps)));
        delay.add("unit", YamlNode::string("ms"));
        addFilter(
            prefix + "verzoegerung",
            filter("Delay", label + ": Verzögerung " + std::to_string(c.record.delayTaps) + " Taps",
                   std::move(delay)));
        int highPassNumber = 0;
        int lowPassNumber = 0;
        PlayedChannel played;
        played.sampleRate = sampleRate;
        for (const ExportSection& s : channelSections(c.record, false)) {
            const bool eq = s.role.rfind("EQ", 0) == 0;
            if (eq && s.section.gainDb == 0.0) continue;  // a band at 0 dB changes nothing
            if (!hasUsableValues(s.section)) {
                out.warnings.push_back(label + ": " + describeSection(s) +
                                       " hat keine gültigen Werte und fehlt.");
                continue;
            }
            if (!(s.section.frequency > 0.0 && s.section.frequency < nyquist)) {
                out.warnings.push_back(label + ": " + describeSection(s) +
                                       " liegt nicht unter der halben Abtastrate (" +
                                       formatDecimal(nyquist, 1) + " Hz) und fehlt.");
                continue;
            }
            std::string name = prefix;
            if (eq) {
                name += "eq" + s.role.substr(2);
            } else {
                const bool high = s.role == "Hochpass";
                name += (high ? "hochpass" : "tiefpass") +
                        std::to_string(high ? ++highPassNumber : ++lowPassNumber);
            }
            if (const auto cookbook = equalCookbookFilter(s.section)) {
                addFilter(name,
                          filter("Biquad", label + ": " + s.role, biquadParameters(*cookbook)));
                played.digital.push_back(bilinear(analogPrototype(*cookbook), sampleRate));
            } else {
                // A shelf: no CamillaDSP type is the device's filter, its
                // coefficients are, at this rate only.
                const Biquad b = bilinear(analogPrototype(s.section), sampleRate);
                addFilter(name,
                          filter("Biquad",
                                 label + ": " + s.role + " (" + describeShelf(s.section) +
                                     "), Koeffizienten für " + std::to_string(sampleRate) + " Hz",
                                 freeParameters(b)));
                played.digital.push_back(b);
            }
        }
        out.fidelity.push_back(fidelityLine(c, measureFidelity(c.record, played), sampleRate));
        YamlNode& step = pipeline.push(YamlNode::map());
        step.add("type", YamlNode::string("Filter"));
        step.add("description", YamlNode::string(label));
        YamlNode& outputs = step.add("channels", YamlNode::flowSequence());
        outputs.push(YamlNode::integer(c.index));
        step.add("names", std::move(names));
    }
    root.add("filters", std::move(filters));
    root.add("pipeline", std::move(pipeline));
    std::vector<std::string> comments = {
        "Filtaro: CamillaDSP-Konfiguration von " + presetText,
        "Die Geräte unter \"devices\" an die eigene Hardware anpassen; die Shelves (\"Free\")",
        "gelten nur bei " + std::to_string(sampleRate) + " Hz.",
        "Was CamillaDSP spielt, gegen das Modell des Geräts (20 Hz bis 20 kHz):"};
    for (const std::string& line : out.fidelity) comments.push_back(line);
    out.text = root.emit(comments);
    return out;
}
