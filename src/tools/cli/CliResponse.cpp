// filtaro-cli response FILE [--preset N] [--view magnitude|phase|groupdelay]
// [--sum] [--csv]: the six channel responses of one preset of a parameter
// file on the 2000-point grid, one line per point: frequency and the six
// values, tab-separated, "%.9g" so that every single-precision value reads
// back to the same bits. --view picks the quantity (the magnitude is the
// plot's, from the magnitude path; phase and group delay come from the
// complex model), --sum adds the sums L and R, --csv writes CSV with a
// header line instead.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "model/ParameterImage.h"
#include "plotmodel/CurveCsv.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"
#include "response/ResponseGrid.h"
#include "tools/cli/Cli.h"

namespace {

const char* const Usage =
    "Aufruf: filtaro-cli response DATEI [--preset N] [--view magnitude|phase|groupdelay] [--sum] "
    "[--csv]";

void appendNumber(std::string& text, float value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(value));
    text += buf;
}

std::string tabLines(const std::vector<CsvCurve>& curves) {
    const ResponseGrid grid;
    std::string text;
    text.reserve(static_cast<std::size_t>(ResponsePointCount) * (curves.size() + 1) * 16);
    for (int j = 0; j < ResponsePointCount; ++j) {
        appendNumber(text, grid[j]);
        for (const CsvCurve& curve : curves) {
            text += '\t';
            appendNumber(text, (*curve.values)[j]);
        }
        text += '\n';
    }
    return text;
}

}  // namespace

int cliResponse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                BytePort&) {
    const CliArgs parsed(args, {"--preset", "--view"}, {"--sum", "--csv"});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err, Usage, 2);
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) {
        return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    }
    const std::optional<ResponseQuantity> view = viewOption(parsed);
    if (!view) {
        return cliFail(err, ViewOptionError, 2);
    }
    const bool sums = parsed.flag("--sum");
    ParameterImage image;
    if (!loadCommandFile(image, parsed.positional().front(), err)) return 1;
    // The preset shown is the one asked for, not the one the file was saved with.
    image.setActivePreset(*preset - 1);

    const auto magnitudes = std::make_unique<ChannelResponses>();
    const auto complex = std::make_unique<ComplexResponses>();
    if (*view == ResponseQuantity::Magnitude) computeResponses(image, *magnitudes);
    if (*view != ResponseQuantity::Magnitude || sums) computeComplexResponses(image, *complex);

    std::vector<CsvCurve> curves;
    for (int c = 0; c < ChannelCount; ++c) {
        curves.push_back({channelCurveName(c), *view == ResponseQuantity::Magnitude
                                                   ? &(*magnitudes)[c].db
                                                   : &complex->channels[c].values(*view)});
    }
    for (int s = 0; sums && s < SumCount; ++s) {
        curves.push_back({std::string(SumCurveNames[s]), &complex->sums[s].values(*view)});
    }
    out << (parsed.flag("--csv") ? curvesCsv(curves, quantityUnit(*view)) : tabLines(curves));
    return 0;
}
