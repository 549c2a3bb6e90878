// filtaro-cli decode WIRE BASE OUT: decodes a 624-byte WireImage (a dump
// file, for one) into the parameter file BASE as a receive of that block
// would (PresetTransfer's takeReceivedBlock) and saves the result as OUT.

#include "device/PresetTransfer.h"
#include "device/WireImage.h"
#include "device/WireImageFile.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "tools/cli/Cli.h"

int cliDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              BytePort&) {
    const CliArgs parsed(args, {});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 3) {
        return cliFail(err, "Aufruf: filtaro-cli decode WIRE BASIS AUSGABE", 2);
    }
    const std::string& wirePath = parsed.positional()[0];
    const std::string& basePath = parsed.positional()[1];
    const std::string& outPath = parsed.positional()[2];
    WireImage wire{};
    std::string error;
    if (!loadWireImageFile(wirePath, wire, error)) {
        return cliFail(err, error);
    }
    ParameterImage image;
    if (!loadCommandFile(image, basePath, err)) return 1;
    takeReceivedBlock(wire, image);
    if (saveParameterFile(image, outPath) != 0) {
        return cliFail(err, fileSaveFailure(outPath));
    }
    out << "Wire-Image dekodiert und in " << outPath << " gespeichert.\n";
    return 0;
}
