#include "tools/cli/CliDevice.h"

#include <climits>

#include "device/BytePort.h"
#include "device/CommError.h"
#include "device/DevicePort.h"
#include "platform/UserServices.h"
#include "storage/ParameterFile.h"

std::optional<CliPortChoice> cliPortChoice(const CliArgs& args, std::string& error) {
    CliPortChoice choice;
    const auto port = args.value("--port");
    choice.name = port ? *port : configuredPortName();
    if (choice.name.empty()) {
        error = "Option --port braucht einen Portnamen (z. B. COM3).";
        return std::nullopt;
    }
    if (const auto baud = args.value("--baud")) {
        const auto rate = parseIntArg(*baud, 1, INT_MAX);
        if (!rate) {
            error = "Ungültige Baudrate \"" + *baud + "\": erwartet wird eine positive Zahl.";
            return std::nullopt;
        }
        choice.baudRate = *rate;
    } else {
        choice.baudRate = configuredBaudRate();
    }
    return choice;
}

int cliOpenPort(BytePort& port, const CliPortChoice& choice, std::ostream& err) {
    if (port.open(devicePathForPort(choice.name), choice.baudRate) != CommOk) {
        return cliCommFail(err, ErrPortBusy,
                           "Port " + choice.name + " mit " + std::to_string(choice.baudRate) +
                               " Baud (nicht vorhanden, belegt, keine Rechte oder Baudrate "
                               "nicht möglich)");
    }
    userServices().sleepMs(PortSettleMs);
    return 0;
}

int cliCommFail(std::ostream& err, CommErrorCode code, const std::string& what) {
    // The communication layer produces nothing outside -10..-1.
    const int status = code <= -1 && code >= -10 ? -code : 10;
    return cliFail(
        err,
        what + ": " + commErrorText(code, LanguageGerman) + " (Code " + std::to_string(code) + ")",
        status);
}

std::string cliNoParameterFile(const std::string& path) {
    return "Datei " + path +
           " ist keine Parameterdatei (nicht vorhanden, nicht lesbar oder nicht genau " +
           std::to_string(ParameterFileSize) + " Bytes).";
}
