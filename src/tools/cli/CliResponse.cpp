// filtaro-cli response FILE [--preset N]: the six channel responses of one
// preset of a parameter file on the 2000-point grid, one line per point:
// frequency and the six dB values, tab-separated. "%.9g" makes every
// single-precision value read back to the same bits.

#include <cstdio>
#include <memory>
#include <string>

#include "model/ParameterImage.h"
#include "response/ChannelResponse.h"
#include "response/ResponseGrid.h"
#include "storage/ParameterFile.h"
#include "tools/cli/Cli.h"

namespace {

void appendNumber(std::string& text, float value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(value));
    text += buf;
}

}  // namespace

int cliResponse(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                BytePort&) {
    const CliArgs parsed(args, {"--preset"});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err, "Aufruf: filtaro-cli response DATEI [--preset N]", 2);
    }
    const std::optional<int> preset = presetOption(parsed);
    if (!preset) {
        return cliFail(err, "Das Preset muss eine Zahl von 1 bis 4 sein.", 2);
    }
    ParameterImage image;
    if (loadParameterFile(image, parsed.positional().front()) != 1) {
        return cliFail(err, "Datei konnte nicht geöffnet werden.");
    }
    // The preset shown is the one asked for, not the one the file was saved with.
    image.setActivePreset(*preset - 1);
    const auto responses = std::make_unique<ChannelResponses>();
    computeResponses(image, *responses);

    const ResponseGrid grid;
    std::string text;
    text.reserve(static_cast<std::size_t>(ResponsePointCount) * 7 * 16);
    for (int j = 0; j < ResponsePointCount; ++j) {
        appendNumber(text, grid[j]);
        for (const ChannelResponse& channel : *responses) {
            text += '\t';
            appendNumber(text, channel.db[j]);
        }
        text += '\n';
    }
    out << text;
    return out ? 0 : cliFail(err, "Die Ausgabe konnte nicht geschrieben werden.");
}
