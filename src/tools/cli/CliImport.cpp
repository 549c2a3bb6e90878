// filtaro-cli import FILE FILTERS.txt --preset N --channel C [--block NAME]
// [--refit] [--out OUT.dat]: puts a REW or Equalizer APO filter text onto one
// channel of a parameter file, prints what was set and how, and saves the
// result (into FILE unless --out names another file). With --refit the bands
// are fitted on the device's grid to the text's filters as a whole instead
// of rounded filter by filter; both differences are printed.

#include <string>

#include "interchange/DecimalText.h"
#include "interchange/FilterImport.h"
#include "model/ChannelFieldText.h"
#include "model/ParameterImage.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "storage/TextFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliChannelNames.h"
#include "tuning/ImportRefit.h"

namespace {

// At most a screenful: the first names, each cut to a sensible length, and
// how many more there are.
constexpr std::size_t ListedBlocks = 20;
constexpr std::size_t ListedNameLength = 40;

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (std::size_t i = 0; i < names.size() && i < ListedBlocks; ++i) {
        std::string name = names[i];
        if (name.size() > ListedNameLength) {
            std::size_t cut = ListedNameLength;
            while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
            name = name.substr(0, cut) + "…";
        }
        s += (i ? ", " : "") + name;
    }
    if (names.size() > ListedBlocks) {
        s += " und " + groupedCount(static_cast<long long>(names.size() - ListedBlocks)) +
             " weitere";
    }
    return s;
}

}  // namespace

int cliImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              BytePort&) {
    const CliArgs parsed(args, {"--preset", "--channel", "--block", "--out"}, {"--refit"});
    if (!parsed.error().empty()) return cliFail(err, parsed.error(), 2);
    if (parsed.positional().size() != 2 || !parsed.value("--preset") ||
        !parsed.value("--channel")) {
        return cliFail(err,
                       "Aufruf: filtaro-cli import DATEI FILTER.txt --preset N --channel K "
                       "[--block NAME] [--refit] [--out AUSGABE.dat]",
                       2);
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    const std::optional<int> channel = parseIntArg(*parsed.value("--channel"), 1, ChannelCount);
    if (!channel) return cliFail(err, "Der Kanal muss eine Zahl von 1 bis 6 sein.", 2);
    const std::string& path = parsed.positional()[0];
    const std::string& filterPath = parsed.positional()[1];
    const std::string outPath = parsed.value("--out").value_or(path);

    ParameterImage image;
    if (!loadCommandFile(image, path, err)) return 1;
    const auto text = readTextFile(filterPath, FilterTextFileLimit);
    if (!text) return cliFail(err, fileOpenFailure(filterPath, 0, FilterTextFileLimit));

    const int p = *preset - 1;
    const int c = *channel - 1;
    const FilterImport result =
        importFilterText(*text, image.record(p, c), c, parsed.value("--block").value_or(""));
    if (result.status == FilterImportStatus::ChooseBlock) {
        return cliFail(err,
                       "Die Filterdatei hat mehrere Kanalblöcke (" + joined(result.blocks) +
                           "); bitte mit --block einen wählen.",
                       2);
    }
    if (result.status == FilterImportStatus::UnknownBlock) {
        return cliFail(err,
                       result.blocks.empty() ? "Die Filterdatei hat keine Kanalblöcke."
                                             : "Kanalblock \"" + *parsed.value("--block") +
                                                   "\" gibt es nicht; die Filterdatei hat: " +
                                                   joined(result.blocks) + ".",
                       2);
    }
    std::string target =
        "Preset " + std::to_string(*preset) + ", Kanal " + std::to_string(*channel);
    const std::string name = channelNamesOf(path, err)[c];
    if (!name.empty()) target += " \"" + name + "\"";
    out << "Import von " << filterPath << " in " << target << ":\n";
    for (const std::string& line : importReportLines(result.report)) out << line << '\n';
    if (!result.report.changesSomething()) {
        return cliFail(err, "Die Filterdatei enthält nichts, was der Kanal übernehmen kann.");
    }
    ChannelRecord record = result.report.record;
    if (parsed.flag("--refit")) {
        const ImportRefit refit = refitImport(result.report);
        if (!refit.ok) return cliFail(err, refit.message);
        const DesignDifference& d = refit.difference;
        out << "Auf das Raster angepasst statt gerundet:\n";
        for (int e = 0; e < EqBandCount; ++e) {
            out << "  EQ" << e + 1 << ": " << eqBandText(refit.record.eq[e], e) << '\n';
        }
        if (result.report.setsLevel) {
            out << "  Pegel: " << formatSignedDecimal(refit.record.level, 0) << " dB\n";
        }
        out << "Größte Abweichung " << formatDecimal(d.maxDb, 2) << " dB bei "
            << formatDecimal(d.maxHz, 0) << " Hz, im Mittel (RMS) " << formatDecimal(d.rmsDb, 2)
            << " dB (gerundet: " << formatDecimal(result.report.maxDifferenceDb, 2) << " dB, RMS "
            << formatDecimal(result.report.rmsDifferenceDb, 2) << " dB)\n";
        record = refit.record;
    }
    image.setRecord(p, c, record);
    if (saveParameterFile(image, outPath) != 0) {
        return cliFail(err, fileSaveFailure(outPath));
    }
    out << "Gespeichert: " << outPath << '\n';
    return 0;
}
