// filtaro-cli send FILE [--port NAME] [--baud N] [--no-pause]: sends all
// presets of a parameter file to the device, as the Send button does,
// including the pause the device needs to store them (unless --no-pause).

#include "device/PresetTransfer.h"
#include "storage/ParameterFile.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliDevice.h"

int cliSend(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            BytePort& port) {
    const CliArgs parsed(args, {"--port", "--baud"}, {"--no-pause"});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), CliDeviceInputError);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err, "Aufruf: filtaro-cli send DATEI [--port NAME] [--baud N] [--no-pause]",
                       CliDeviceInputError);
    }
    std::string error;
    const auto choice = cliPortChoice(parsed, error);
    if (!choice) {
        return cliFail(err, error, CliDeviceInputError);
    }
    const std::string& path = parsed.positional().front();
    ParameterImage image;
    if (loadParameterFile(image, path) == 0) {
        return cliFail(err, cliNoParameterFile(path), CliDeviceInputError);
    }
    if (const int opened = cliOpenPort(port, *choice, err); opened != 0) {
        return opened;
    }
    const CommErrorCode result = sendAllPresets(
        image, port, parsed.flag("--no-pause") ? SendPause::None : SendPause::AfterSuccess);
    if (result != CommOk) {
        return cliCommFail(err, result, "Senden an " + choice->name);
    }
    out << "Alle Presets an " << choice->name << " gesendet.\n";
    return 0;
}
