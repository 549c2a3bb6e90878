// A CamillaDSP (version 3) configuration of one preset: two inputs, six
// outputs, one mixer and one filter step per output.

#include <tuple>

#include "interchange/DecimalText.h"
#include "interchange/ExportSections.h"
#include "interchange/FieldMapping.h"
#include "interchange/FilterExport.h"
#include "interchange/YamlWriter.h"
#include "model/DelayUnits.h"
#include "model/ParameterImage.h"

namespace {

constexpr const char* MixerName = "eingaenge_auf_ausgaenge";
constexpr int InputCount = 2;

const char* biquadType(SectionType t) {
    switch (t) {
        case SectionType::Peaking:
            return "Peaking";
        case SectionType::LowShelf:
            return "Lowshelf";
        case SectionType::HighShelf:
            return "Highshelf";
        case SectionType::HighPass:
            return "Highpass";
        case SectionType::LowPass:
            return "Lowpass";
        case SectionType::HighPassFirstOrder:
            return "HighpassFO";
        case SectionType::LowPassFirstOrder:
            return "LowpassFO";
    }
    return "";
}

YamlNode biquadParameters(const AnalogSection& s) {
    YamlNode p = YamlNode::map();
    p.add("type", YamlNode::string(biquadType(s.type)));
    p.add("freq", YamlNode::number(s.frequency));
    switch (s.type) {
        case SectionType::Peaking:
        case SectionType::LowShelf:
        case SectionType::HighShelf:
            p.add("gain", YamlNode::number(s.gainDb));
            p.add("q", YamlNode::number(s.q));
            break;
        case SectionType::HighPass:
        case SectionType::LowPass:
            p.add("q", YamlNode::number(s.q));
            break;
        default:
            break;
    }
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
            addFilter(name, filter("Biquad", label + ": " + s.role, biquadParameters(s.section)));
        }
        YamlNode& step = pipeline.push(YamlNode::map());
        step.add("type", YamlNode::string("Filter"));
        step.add("description", YamlNode::string(label));
        YamlNode& outputs = step.add("channels", YamlNode::flowSequence());
        outputs.push(YamlNode::integer(c.index));
        step.add("names", std::move(names));
    }
    root.add("filters", std::move(filters));
    root.add("pipeline", std::move(pipeline));
    out.text = root.emit({"Filtaro: CamillaDSP-Konfiguration von " + presetText,
                          "Die Geräte unter \"devices\" an die eigene Hardware anpassen."});
    return out;
}
