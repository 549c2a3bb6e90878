#pragma once
// What the device commands of filtaro-cli share: choosing and opening the
// port like the program does (INI "Port" and "Baudrate" of the current
// directory, overridden by --port and --baud) and reporting a failed
// transfer. Their exit status is the magnitude of the communication code
// (1..10); arguments and files that are not usable give CliDeviceInputError.

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "device/CommError.h"
#include "device/SettingsCompare.h"
#include "model/ParameterImage.h"
#include "tools/cli/Cli.h"

class BytePort;

// Beyond the communication codes: nothing went on the line.
constexpr int CliDeviceInputError = 11;
// send: the file holds values the device would not hold as they are set, and
// --force was not given. Nothing went on the line either.
constexpr int CliSendRefused = CliDeviceInputError;
// compare: the device holds other settings than the file; send --verify: the
// device did not take what was sent.
constexpr int CliDeviceDiffers = 12;

struct CliPortChoice {
    std::string name;  // "COM3", or a device path
    int baudRate = 0;
};

// From --port / --baud, else from the INI with its defaults. nullopt with a
// German message in `error` for a --baud that is no positive number.
std::optional<CliPortChoice> cliPortChoice(const CliArgs& args, std::string& error);

// What a device command that works on one parameter file starts from.
struct CliDeviceFile {
    CliPortChoice port;
    std::string path;
    ParameterImage image;
};

// Checks the parsed arguments (the one FILE, --port, --baud) and loads the
// file. 0, or CliDeviceInputError after one line on `err` (the parser's
// message, `usage`, or what is wrong with the rate or the file).
int cliLoadDeviceFile(const CliArgs& parsed, const std::string& usage, std::ostream& err,
                      CliDeviceFile& file);

// Opens the port and, as the program does after opening, leaves the line
// alone for a moment before the first transfer. 0, or ErrPortBusy after one
// line on `err`.
int cliOpenPort(BytePort& port, const CliPortChoice& choice, std::ostream& err);

// One line naming the code's German text; returns the exit status for it.
int cliCommFail(std::ostream& err, CommErrorCode code, const std::string& what);

// The differences as a table under the given column heads, indented by two.
void cliPrintDifferences(std::ostream& out, const std::vector<FieldDifference>& differences,
                         const std::array<const char*, 5>& columns);
