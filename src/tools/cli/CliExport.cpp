// filtaro-cli export FILE --format apo|rew|camilladsp [--preset N]
// [--channel C] [--rate HZ] [--out OUT]: a channel or a whole preset of a
// parameter file for Equalizer APO, Room EQ Wizard or CamillaDSP, with the
// channel names of the side file. Standard output unless --out is given;
// what a format cannot express, and how far each channel as the program
// plays it is from the device's model, go to standard error. --rate is
// CamillaDSP's sample rate and the one an APO export is checked at.

#include <string>

#include "interchange/SettingsExport.h"
#include "model/ParameterImage.h"
#include "storage/FileMessages.h"
#include "storage/TextFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliChannelNames.h"

namespace {

constexpr int MinSampleRate = 8000;
constexpr int MaxSampleRate = 768000;

}  // namespace

int cliExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              BytePort&) {
    const CliArgs parsed(args, {"--format", "--preset", "--channel", "--rate", "--out"});
    if (!parsed.error().empty()) return cliFail(err, parsed.error(), 2);
    if (parsed.positional().size() != 1 || !parsed.value("--format")) {
        return cliFail(err,
                       "Aufruf: filtaro-cli export DATEI --format apo|rew|camilladsp [--preset N] "
                       "[--channel K] [--rate HZ] [--out AUSGABE]",
                       2);
    }
    const std::string format = *parsed.value("--format");
    if (format != "apo" && format != "rew" && format != "camilladsp") {
        return cliFail(err, "Das Format muss apo, rew oder camilladsp sein.", 2);
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    std::optional<int> channel;
    if (const auto value = parsed.value("--channel")) {
        channel = parseIntArg(*value, 1, ChannelCount);
        if (!channel) return cliFail(err, "Der Kanal muss eine Zahl von 1 bis 6 sein.", 2);
    }
    if (format == "rew" && !channel) {
        return cliFail(err, "Eine REW-Filterdatei hält einen Kanal; bitte --channel angeben.", 2);
    }
    if (format == "camilladsp" && channel) {
        return cliFail(err, "Die CamillaDSP-Konfiguration umfasst immer alle sechs Kanäle.", 2);
    }
    int rate = DefaultExportSampleRate;
    if (const auto value = parsed.value("--rate")) {
        if (format == "rew") {
            return cliFail(err, "--rate gilt nur für die Formate apo und camilladsp.", 2);
        }
        const auto r = parseIntArg(*value, MinSampleRate, MaxSampleRate);
        if (!r) {
            return cliFail(err,
                           "Die Abtastrate muss eine Zahl von " + std::to_string(MinSampleRate) +
                               " bis " + std::to_string(MaxSampleRate) + " Hz sein.",
                           2);
        }
        rate = *r;
    }
    const std::string& path = parsed.positional()[0];
    ParameterImage image;
    if (!loadCommandFile(image, path, err)) return 1;
    const auto names = channelNamesOf(path, err);
    const ExportFormat kind = format == "apo"   ? ExportFormat::Apo
                              : format == "rew" ? ExportFormat::Rew
                                                : ExportFormat::CamillaDsp;
    std::optional<int> index;
    if (channel) index = *channel - 1;
    const ExportText text = exportSettings(kind, image, *preset - 1, index, names, rate);
    const auto outPath = parsed.value("--out");
    if (outPath && !writeTextFile(*outPath, text.text)) {
        return cliFail(err, fileSaveFailure(*outPath));
    }
    if (!outPath) out << text.text;
    // Said once the export exists: what it leaves out, and how far it plays
    // from the device.
    for (const std::string& warning : text.warnings) cliFail(err, "Hinweis: " + warning);
    for (const std::string& line : text.fidelity) cliFail(err, "Abweichung: " + line);
    if (outPath) out << "Export gespeichert: " << *outPath << '\n';
    return 0;
}
