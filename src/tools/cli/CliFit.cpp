// filtaro-cli fit FILE --channel C [--preset N] --measurement M [--measurement
// M2 ...] [options]: fits the equaliser of one channel of a parameter file to
// a target on the device's grid, prints the bands it sets and the errors
// before, after and of the free fit, and saves the result with --out (FILE
// itself is never changed). --json prints the same as one JSON object.

#include <cstdio>
#include <string>
#include <vector>

#include "interchange/DecimalText.h"
#include "model/ChannelFieldText.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterImage.h"
#include "model/ParameterLimits.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "storage/TextFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliChannelNames.h"
#include "tools/cli/CliFitOptions.h"
#include "tuning/EqFit.h"

namespace {

std::string rangeText(const FrequencyRange& r) {
    return formatDecimal(r.loHz, 0) + " bis " + formatDecimal(r.hiHz, 0) + " Hz";
}

std::string jsonNumber(double v, int decimals) {
    return formatDecimal(v, decimals);
}

std::string jsonOf(const FitResult& r) {
    std::string s = "{\"bands\": [";
    for (int e = 0; e < EqBandCount; ++e) {
        const EqBand& b = r.channel.eq[e];
        s += e ? ", " : "";
        s += "{\"band\": " + std::to_string(e + 1) +
             ", \"frequency_hz\": " + std::to_string(b.frequency) +
             ", \"frequency_code\": " + std::to_string(frequencyToCode(b.frequency)) +
             ", \"q_code\": " + std::to_string(b.q) + ", \"gain_db\": " + std::to_string(b.level) +
             "}";
    }
    s += "], \"level_db\": " + std::to_string(r.channel.level);
    s += ", \"error_db\": {\"before\": " + jsonNumber(r.errorBeforeDb, 3) +
         ", \"after\": " + jsonNumber(r.errorAfterDb, 3);
    if (r.errorFreeDb) s += ", \"continuous\": " + jsonNumber(*r.errorFreeDb, 3);
    if (r.errorRoundedDb) s += ", \"rounded\": " + jsonNumber(*r.errorRoundedDb, 3);
    s += "}, \"range_hz\": [" + jsonNumber(r.range.loHz, 1) + ", " + jsonNumber(r.range.hiHz, 1) +
         "]";
    s += ", \"dips_left_alone_hz\": [";
    for (std::size_t k = 0; k < r.dipsLeftAlone.size(); ++k) {
        s += (k ? ", [" : "[") + jsonNumber(r.dipsLeftAlone[k].loHz, 1) + ", " +
             jsonNumber(r.dipsLeftAlone[k].hiHz, 1) + "]";
    }
    return s + "]}\n";
}

}  // namespace

int cliFit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, BytePort&) {
    const CliArgs parsed(args, FitValueOptions, FitFlagOptions);
    if (!parsed.error().empty()) return cliFail(err, parsed.error(), 2);
    if (parsed.positional().size() != 1 || !parsed.value("--channel") ||
        parsed.values("--measurement").empty()) {
        return cliFail(err, std::string("Aufruf: filtaro-cli ") + FitUsage, 2);
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    const std::optional<int> channel = parseIntArg(*parsed.value("--channel"), 1, ChannelCount);
    if (!channel) return cliFail(err, "Der Kanal muss eine Zahl von 1 bis 6 sein.", 2);
    FitRequest request;
    if (std::string problem = parseFitOptions(parsed, request); !problem.empty()) {
        return cliFail(err, problem, 2);
    }

    const std::string& path = parsed.positional().front();
    ParameterImage image;
    if (!loadCommandFile(image, path, err)) return 1;
    FitInput input;
    std::string problem = readFitFiles(request, input);
    if (!problem.empty()) return cliFail(err, problem);
    const int p = *preset - 1;
    const int c = *channel - 1;
    input.channel = image.record(p, c);

    const FitResult result = fitChannel(input);
    if (result.status != FitStatus::Ok) return cliFail(err, result.message);

    if (parsed.flag("--json")) {
        out << jsonOf(result);
    } else {
        std::string name = presetChannelText(p, c);
        const std::string channelName = channelNamesOf(path, err)[c];
        if (!channelName.empty()) name += " \"" + channelName + "\"";
        out << "Anpassung " << name << ", " << rangeText(result.range) << ":\n";
        for (int e = 0; e < EqBandCount; ++e) {
            const EqBand& before = input.channel.eq[e];
            const EqBand& after = result.channel.eq[e];
            out << "  EQ" << e + 1 << ": " << eqBandText(after, e);
            if (input.options.keep[e]) {
                out << " (beibehalten)";
            } else if (!(before == after)) {
                out << " (vorher " << eqBandText(before, e) << ")";
            }
            out << '\n';
        }
        out << "  Pegel: " << formatSignedDecimal(result.channel.level, 0) << " dB";
        if (result.channel.level != input.channel.level) {
            out << " (vorher " << formatSignedDecimal(input.channel.level, 0) << " dB)";
        }
        out << '\n';
        for (const FrequencyRange& dip : result.dipsLeftAlone) {
            out << "  Schmale Senke ausgelassen: " << rangeText(dip) << '\n';
        }
        out << "Fehler vorher " << formatDecimal(result.errorBeforeDb, 2) << " dB, nachher "
            << formatDecimal(result.errorAfterDb, 2) << " dB";
        if (result.errorFreeDb) {
            out << "; ohne Raster wären " << formatDecimal(*result.errorFreeDb, 2) << " dB möglich";
        }
        if (result.errorRoundedDb) {
            out << " (frei angepasst und gerundet: " << formatDecimal(*result.errorRoundedDb, 2)
                << " dB)";
        }
        out << ".\n";
    }
    if (const auto outPath = parsed.value("--out")) {
        image.setRecord(p, c, result.channel);
        if (saveParameterFile(image, *outPath) != 0) return cliFail(err, fileSaveFailure(*outPath));
        if (!parsed.flag("--json")) out << "Gespeichert: " << *outPath << '\n';
    }
    return 0;
}
