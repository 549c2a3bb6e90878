// filtaro-cli compare FILE [--port NAME] [--baud N]: receives the device's
// block and shows where it differs from the parameter file, in the table the
// window's comparison shows. Exit 0 when they agree, CliDeviceDiffers when
// they differ, the communication code when the receive fails. Nothing is
// written but the receive's dump file.

#include <memory>

#include "device/DeviceCompare.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliDevice.h"

int cliCompare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               BytePort& port) {
    const CliArgs parsed(args, {"--port", "--baud"});
    const auto file = std::make_unique<CliDeviceFile>();
    if (const int status = cliLoadDeviceFile(
            parsed, "Aufruf: filtaro-cli compare DATEI [--port NAME] [--baud N]", err, *file);
        status != 0) {
        return status;
    }
    if (const int opened = cliOpenPort(port, file->port, err); opened != 0) {
        return opened;
    }
    const auto comparison = std::make_unique<DeviceComparison>();
    const CommErrorCode result = compareWithDevice(file->image, port, *comparison);
    if (result != CommOk) {
        return cliCommFail(err, result, "Empfangen von " + file->port.name);
    }
    const std::size_t n = comparison->differences.size();
    if (n == 0) {
        out << SettingsEqualText << '\n';
        return 0;
    }
    out << file->path << " und das Gerät an " << file->port.name << " weichen in " << n
        << (n == 1 ? " Wert" : " Werten") << " ab:\n";
    cliPrintDifferences(out, comparison->differences,
                        {"Preset", "Kanal", "Einstellung", "In der Datei", "Im Gerät"});
    return CliDeviceDiffers;
}
