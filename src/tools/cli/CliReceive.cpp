// filtaro-cli receive OUT [--base FILE] [--port NAME] [--baud N]: receives
// all presets from the device, as the Receive button does, into the image of
// BASE (or a fresh default image) and saves it as OUT. On failure OUT is not
// written.

#include <filesystem>

#include "device/DeviceLink.h"
#include "device/PresetTransfer.h"
#include "device/WireImage.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliDevice.h"

int cliReceive(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               BytePort& port) {
    const CliArgs parsed(args, {"--base", "--port", "--baud"});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), CliDeviceInputError);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err,
                       "Aufruf: filtaro-cli receive AUSGABE [--base DATEI] [--port NAME] "
                       "[--baud N]",
                       CliDeviceInputError);
    }
    std::string error;
    const auto choice = cliPortChoice(parsed, error);
    if (!choice) {
        return cliFail(err, error, CliDeviceInputError);
    }
    ParameterImage image;
    if (const auto base = parsed.value("--base")) {
        if (!loadCommandFile(image, *base, err)) return CliDeviceInputError;
    } else {
        applyDefaults(image);
    }
    if (const int opened = cliOpenPort(port, *choice, err); opened != 0) {
        return opened;
    }
    const CommErrorCode result = receiveAllPresets(image, port);
    if (result != CommOk) {
        return cliCommFail(err, result, "Empfangen von " + choice->name);
    }
    const std::string& outPath = parsed.positional().front();
    if (saveParameterFile(image, outPath) != 0) {
        std::error_code ec;
        const bool dumped =
            std::filesystem::file_size(ReceiveDumpFileName, ec) == WireImageSize && !ec;
        return cliFail(err,
                       fileSaveFailure(outPath) +
                           (dumped ? std::string(" Die empfangenen Rohdaten stehen in ") +
                                         ReceiveDumpFileName + " (filtaro-cli decode)."
                                   : std::string()),
                       CliDeviceInputError);
    }
    out << "Alle Presets von " << choice->name << " empfangen und in " << outPath
        << " gespeichert.\n";
    return 0;
}
