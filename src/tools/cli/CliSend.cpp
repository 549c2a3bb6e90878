// filtaro-cli send FILE [--port NAME] [--baud N] [--no-pause] [--force]
// [--verify]: sends all presets of a parameter file to the device, as the
// Send button does, including the pause the device needs to store them
// (unless --no-pause). A file with values the device would not hold as they
// are set is refused unless --force is given; --verify reads the block back
// afterwards and compares it with what was sent.

#include "device/DeviceCompare.h"
#include "device/PreSendCheck.h"
#include "device/PresetTransfer.h"
#include "platform/UserServices.h"
#include "response/SendHeadroom.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliDevice.h"

namespace {

constexpr const char* Usage =
    "Aufruf: filtaro-cli send DATEI [--port NAME] [--baud N] [--no-pause] [--force] [--verify]";

// The values are listed on standard output, the failure is the one line on
// the error stream.
int refuse(std::ostream& out, std::ostream& err, const std::string& path,
           const std::vector<SendFinding>& findings) {
    out << path << ": " << preSendIntro(findings.size()) << ":\n";
    for (const SendFinding& finding : findings) {
        out << "  " << findingLine(finding) << '\n';
    }
    return cliFail(err,
                   path + ": " + preSendIntro(findings.size()) +
                       ". Nichts gesendet (--force sendet trotzdem).",
                   CliSendRefused);
}

int verify(const WireImage& sent, const ParameterImage& image, BytePort& port,
           const std::string& portName, std::ostream& out, std::ostream& err) {
    std::vector<FieldDifference> differences;
    const CommErrorCode result = verifySentPresets(sent, image, port, differences);
    if (result != CommOk) {
        return cliCommFail(err, result, "Prüfen nach dem Senden an " + portName);
    }
    if (!differences.empty()) {
        out << "Prüfen nach dem Senden an " << portName << ": " << VerifyFailedText << '\n';
        cliPrintDifferences(out, differences, VerifyColumns);
        return cliFail(err,
                       "Prüfen nach dem Senden an " + portName +
                           ": Das Gerät hat nicht "
                           "übernommen, was gesendet wurde (" +
                           std::to_string(differences.size()) +
                           (differences.size() == 1 ? " Wert weicht" : " Werte weichen") + " ab).",
                       CliDeviceDiffers);
    }
    out << "Alle Presets an " << portName << " gesendet und geprüft: das Gerät hat sie "
        << "unverändert übernommen.\n";
    return 0;
}

}  // namespace

int cliSend(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            BytePort& port) {
    const CliArgs parsed(args, {"--port", "--baud"}, {"--no-pause", "--force", "--verify"});
    CliDeviceFile file;
    if (const int status = cliLoadDeviceFile(parsed, Usage, err, file); status != 0) {
        return status;
    }
    if (const auto findings = checkBeforeSend(file.image);
        !findings.empty() && !parsed.flag("--force")) {
        return refuse(out, err, file.path, findings);
    }
    if (const auto excess = firstAboveHeadroom(file.image)) {
        // A warning only, as in the window: the boost may be meant.
        userServices().messageBox(headroomWarning(*excess), HeadroomWarningTitle,
                                  MessageIcon::Warning);
    }
    if (const int opened = cliOpenPort(port, file.port, err); opened != 0) {
        return opened;
    }
    // Encoded once: what goes on the line is what the check compares with.
    const WireImage wire = encodeWireImage(file.image);
    const CommErrorCode result = sendAllPresets(
        wire, port, parsed.flag("--no-pause") ? SendPause::None : SendPause::AfterSuccess);
    if (result != CommOk) {
        return cliCommFail(err, result, "Senden an " + file.port.name);
    }
    if (parsed.flag("--verify")) {
        return verify(wire, file.image, port, file.port.name, out, err);
    }
    out << "Alle Presets an " << file.port.name << " gesendet.\n";
    return 0;
}
