#include "tools/cli/CliDevice.h"

#include <climits>

#include "device/BytePort.h"
#include "device/CommError.h"
#include "device/DevicePort.h"
#include "model/ChannelFieldText.h"
#include "platform/UserServices.h"
#include "storage/Ini.h"
#include "tools/cli/TextTable.h"

std::optional<CliPortChoice> cliPortChoice(const CliArgs& args, std::string& error) {
    CliPortChoice choice;
    const IniSettings ini = loadIniSettings();
    const auto port = args.value("--port");
    choice.name = port ? *port : ini.portName;
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
        choice.baudRate = ini.baudRate;
    }
    return choice;
}

int cliLoadDeviceFile(const CliArgs& parsed, const std::string& usage, std::ostream& err,
                      CliDeviceFile& file) {
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), CliDeviceInputError);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err, usage, CliDeviceInputError);
    }
    std::string error;
    const auto choice = cliPortChoice(parsed, error);
    if (!choice) {
        return cliFail(err, error, CliDeviceInputError);
    }
    file.port = *choice;
    file.path = parsed.positional().front();
    return loadCommandFile(file.image, file.path, err) ? 0 : CliDeviceInputError;
}

int cliOpenPort(BytePort& port, const CliPortChoice& choice, std::ostream& err) {
    if (port.open(devicePathForPort(choice.name), choice.baudRate) != CommOk) {
        // Another program (a window of this one, a terminal) holds the port:
        // that needs saying, it is the one case the user can mend at once.
        if (port.openFailure().reason == SerialOpenFailure::InUse) {
            return cliCommFail(err, ErrPortBusy,
                               "Port " + choice.name +
                                   " wird schon von einem anderen Programm "
                                   "benutzt (vielleicht von Filtaro)");
        }
        return cliCommFail(err, ErrPortBusy,
                           "Port " + choice.name + " mit " + std::to_string(choice.baudRate) +
                               " Baud (nicht vorhanden, belegt, keine Rechte, Baudrate oder "
                               "Zeitlimits nicht einstellbar)");
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

void cliPrintDifferences(std::ostream& out, const std::vector<FieldDifference>& differences,
                         const std::array<const char*, 5>& columns) {
    using A = TextTable::Align;
    TextTable table({A::Right, A::Right, A::Left, A::Left, A::Left});
    table.addRow({columns[0], columns[1], columns[2], columns[3], columns[4]});
    for (const FieldDifference& d : differences) {
        table.addRow({std::to_string(d.preset + 1), std::to_string(d.channel + 1),
                      channelFieldName(d.field), d.here, d.device});
    }
    table.print(out, "  ");
}
