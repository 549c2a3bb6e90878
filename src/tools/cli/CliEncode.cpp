// filtaro-cli encode FILE OUT: the 624-byte WireImage that a send of the
// parameter file would put on the line.

#include "device/WireImage.h"
#include "model/ParameterImage.h"
#include "platform/ReplaceFile.h"
#include "storage/FileMessages.h"
#include "tools/cli/Cli.h"

int cliEncode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              BytePort&) {
    const CliArgs parsed(args, {});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 2) {
        return cliFail(err, "Aufruf: filtaro-cli encode DATEI AUSGABE", 2);
    }
    const std::string& path = parsed.positional()[0];
    const std::string& outPath = parsed.positional()[1];
    ParameterImage image;
    if (!loadCommandFile(image, path, err)) return 1;
    const WireImage wire = encodeWireImage(image);
    if (!replaceFileContents(outPath, wire.data(), wire.size())) {
        return cliFail(err, fileSaveFailure(outPath));
    }
    out << "Wire-Image (" << WireImageSize << " Bytes) nach " << outPath << " geschrieben.\n";
    return 0;
}
