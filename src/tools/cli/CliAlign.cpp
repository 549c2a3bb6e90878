// filtaro-cli align FILE --channels 1,2 --measurement 1=M1 --measurement 2=M2
// [options]: aligns the channels that meet at a crossover from their
// drivers' measurements, prints the ranked candidates with their settings
// and scores, the warnings and what cannot be checked, and saves the best
// candidate with --out (FILE itself is never changed). --json prints one
// object with the candidates and the warnings.

#include <cstdio>
#include <string>
#include <vector>

#include "interchange/DecimalText.h"
#include "model/ChannelFieldText.h"
#include "model/ParameterImage.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliFitOptions.h"
#include "tuning/CrossoverAlign.h"

namespace {

const std::vector<std::string> AlignValueOptions = {
    "--channels", "--measurement", "--preset", "--vary",       "--hold",
    "--region",   "--target",      "--types",  "--candidates", "--out"};
const std::vector<std::string> AlignFlagOptions = {"--json"};

// "1,2" as channel indices 0..5; empty when it is no such list.
std::vector<int> channelList(const std::string& text) {
    std::vector<int> out;
    for (const std::string& part : splitList(text, ',')) {
        const auto c = parseIntArg(part, 1, ChannelCount);
        if (!c) return {};
        out.push_back(*c - 1);
    }
    return out;
}

struct AlignRequest {
    std::vector<std::pair<int, std::string>> measurements;  // channel index, file
    std::string targetFile;
};

std::string parseAlignOptions(const CliArgs& args, AlignInput& in, AlignRequest& request) {
    in.channels = channelList(*args.value("--channels"));
    if (in.channels.size() < 2 || in.channels.size() > 3) {
        return "--channels nennt zwei oder drei Kanäle von 1 bis 6, durch Kommas getrennt.";
    }
    for (const std::string& m : args.values("--measurement")) {
        const std::size_t eq = m.find('=');
        const auto c =
            eq == std::string::npos ? std::nullopt : parseIntArg(m.substr(0, eq), 1, ChannelCount);
        if (!c || eq + 1 == m.size()) {
            return "--measurement braucht KANAL=DATEI, etwa 2=Hochton.txt.";
        }
        request.measurements.push_back({*c - 1, m.substr(eq + 1)});
    }
    for (int c : in.channels) {
        int count = 0;
        for (const auto& m : request.measurements) count += m.first == c;
        if (count != 1) {
            return "Jeder gewählte Kanal braucht genau eine Messung (--measurement " +
                   std::to_string(c + 1) + "=DATEI).";
        }
    }
    for (const auto& m : request.measurements) {
        if (std::find(in.channels.begin(), in.channels.end(), m.first) == in.channels.end()) {
            return "Kanal " + std::to_string(m.first + 1) +
                   " hat eine Messung, ist aber nicht gewählt.";
        }
    }
    AlignOptions& o = in.options;
    if (const auto v = args.value("--vary")) {
        o.vary = {false, false, false};
        for (const std::string& part : splitList(*v, ',')) {
            if (part == "delay") {
                o.vary.delay = true;
            } else if (part == "level") {
                o.vary.level = true;
            } else if (part == "crossover") {
                o.vary.crossover = true;
            } else {
                return "--vary nennt delay, level und crossover, durch Kommas getrennt.";
            }
        }
    }
    if (const auto v = args.value("--hold")) {
        const auto c = parseIntArg(*v, 1, ChannelCount);
        if (!c || std::find(in.channels.begin(), in.channels.end(), *c - 1) == in.channels.end()) {
            return "--hold nennt einen der gewählten Kanäle.";
        }
        o.held = *c - 1;
    }
    if (const auto v = args.value("--region")) {
        FrequencyRange region;
        if (std::string problem = parseRangeOption(*v, region); !problem.empty()) return problem;
        o.region = region;
    }
    if (const auto v = args.value("--target")) {
        if (std::string problem = parseTargetOption(*v, o.target, request.targetFile);
            !problem.empty()) {
            return problem;
        }
    }
    if (const auto v = args.value("--types")) {
        for (const std::string& part : splitList(*v, ',')) {
            const auto t = parseIntArg(part, 1, 9);
            if (!t) return "--types nennt Filtertypen als Codes 1 bis 9, durch Kommas getrennt.";
            o.crossoverTypes.push_back(*t);
        }
    }
    if (const auto v = args.value("--candidates")) {
        const auto n = parseIntArg(*v, 1, 20);
        if (!n) return "--candidates muss eine Zahl von 1 bis 20 sein.";
        o.candidateCount = *n;
    }
    return {};
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string jsonOf(const AlignInput& in, const AlignResult& r) {
    std::string s = "{\"candidates\": [";
    for (std::size_t k = 0; k < r.candidates.size(); ++k) {
        const AlignCandidate& c = r.candidates[k];
        s += (k ? ", " : "") + std::string("{\"rank\": ") + std::to_string(k + 1) +
             ", \"score_db\": " + formatDecimal(c.scoreDb, 3) + ", \"settings\": [";
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            const ChannelRecord& rec = c.records[i];
            s += (i ? ", " : "") + std::string("{\"channel\": ") +
                 std::to_string(in.channels[i] + 1) +
                 ", \"delay_taps\": " + std::to_string(rec.delayTaps) +
                 ", \"level_db\": " + std::to_string(rec.level) +
                 ", \"hp_frequency_hz\": " + std::to_string(rec.hpFrequency) +
                 ", \"hp_type\": " + std::to_string(rec.hpType) +
                 ", \"lp_frequency_hz\": " + std::to_string(rec.lpFrequency) +
                 ", \"lp_type\": " + std::to_string(rec.lpType) + "}";
        }
        s += "]}";
    }
    s += "], \"warnings\": [";
    for (std::size_t k = 0; k < r.warnings.size(); ++k)
        s += (k ? ", " : "") + jsonString(r.warnings[k]);
    return s + "]}\n";
}

std::string settingsText(int channel, const ChannelRecord& r) {
    return "Kanal " + std::to_string(channel + 1) + ": Verzögerung " +
           channelFieldText(static_cast<int>(ChannelField::delayTaps), r.delayTaps) + ", Pegel " +
           channelFieldText(static_cast<int>(ChannelField::level), r.level) + ", Hochpass " +
           std::to_string(r.hpFrequency) + " Hz " +
           channelFieldText(static_cast<int>(ChannelField::hpType), r.hpType) + ", Tiefpass " +
           std::to_string(r.lpFrequency) + " Hz " +
           channelFieldText(static_cast<int>(ChannelField::lpType), r.lpType);
}

std::string channelsText(const std::vector<int>& channels) {
    std::string out = "Kanäle ";
    for (std::size_t k = 0; k < channels.size(); ++k) {
        out += (k == 0 ? "" : (k + 1 == channels.size() ? " und " : ", ")) +
               std::to_string(channels[k] + 1);
    }
    return out;
}

}  // namespace

int cliAlign(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             BytePort&) {
    const CliArgs parsed(args, AlignValueOptions, AlignFlagOptions);
    if (!parsed.error().empty()) return cliFail(err, parsed.error(), 2);
    if (parsed.positional().size() != 1 || !parsed.value("--channels") ||
        parsed.values("--measurement").empty()) {
        return cliFail(err, std::string("Aufruf: filtaro-cli ") + AlignUsage, 2);
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    AlignInput input;
    AlignRequest request;
    if (std::string problem = parseAlignOptions(parsed, input, request); !problem.empty()) {
        return cliFail(err, problem, 2);
    }

    const std::string& path = parsed.positional().front();
    ParameterImage image;
    if (!loadCommandFile(image, path, err)) return 1;
    const int p = *preset - 1;
    for (int c = 0; c < ChannelCount; ++c) input.records[c] = image.record(p, c);
    for (const auto& [channel, file] : request.measurements) {
        if (std::string problem = readMeasurementFile(file, input.measurements[channel]);
            !problem.empty()) {
            return cliFail(err, problem);
        }
    }
    if (!request.targetFile.empty()) {
        if (std::string problem =
                readMeasurementFile(request.targetFile, input.options.target.curve);
            !problem.empty()) {
            return cliFail(err, problem);
        }
    }

    const AlignResult result = alignCrossover(input);
    if (result.status != AlignStatus::Ok) return cliFail(err, result.message);

    if (parsed.flag("--json")) {
        out << jsonOf(input, result);
    } else {
        out << "Übergang Preset " << *preset << ", " << channelsText(input.channels) << " (Kanal "
            << result.held + 1 << " festgehalten), Bereich " << formatDecimal(result.region.loHz, 0)
            << " bis " << formatDecimal(result.region.hiHz, 0) << " Hz"
            << (result.phaseUsed ? "" : ", nur Pegel (ohne Phase)") << ":\n";
        out << "Jetzt: Abweichung " << formatDecimal(result.presentScoreDb, 2) << " dB\n";
        for (std::size_t k = 0; k < result.candidates.size(); ++k) {
            const AlignCandidate& c = result.candidates[k];
            out << k + 1 << ". Abweichung " << formatDecimal(c.scoreDb, 2) << " dB\n";
            for (std::size_t i = 0; i < c.records.size(); ++i) {
                out << "   " << settingsText(input.channels[i], c.records[i]) << '\n';
            }
        }
        for (const std::string& w : result.warnings) out << "Warnung: " << w << '\n';
        for (const std::string& u : result.unchecked) out << "Nicht geprüft: " << u << '\n';
    }
    if (const auto outPath = parsed.value("--out")) {
        const AlignCandidate& best = result.candidates.front();
        for (std::size_t i = 0; i < best.records.size(); ++i) {
            image.setRecord(p, input.channels[i], best.records[i]);
        }
        if (saveParameterFile(image, *outPath) != 0) return cliFail(err, fileSaveFailure(*outPath));
        if (!parsed.flag("--json")) out << "Gespeichert: " << *outPath << '\n';
    }
    return 0;
}
