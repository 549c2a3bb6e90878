#pragma once
// What the device commands of filtaro-cli share: choosing and opening the
// port like the program does (INI "Port" and "Baudrate" of the current
// directory, overridden by --port and --baud) and reporting a failed
// transfer. Their exit status is the magnitude of the communication code
// (1..10); arguments and files that are not usable give CliDeviceInputError.

#include <optional>
#include <ostream>
#include <string>

#include "device/CommError.h"
#include "tools/cli/Cli.h"

class BytePort;

// Beyond the communication codes: nothing went on the line.
constexpr int CliDeviceInputError = 11;

struct CliPortChoice {
    std::string name;  // "COM3", or a device path
    int baudRate = 0;
};

// From --port / --baud, else from the INI with its defaults. nullopt with a
// German message in `error` for a --baud that is no positive number.
std::optional<CliPortChoice> cliPortChoice(const CliArgs& args, std::string& error);

// Opens the port and, as the program does after opening, leaves the line
// alone for a moment before the first transfer. 0, or ErrPortBusy after one
// line on `err`.
int cliOpenPort(BytePort& port, const CliPortChoice& choice, std::ostream& err);

// The message for a file that loadParameterFile refused.
std::string cliNoParameterFile(const std::string& path);

// One line naming the code's German text; returns the exit status for it.
int cliCommFail(std::ostream& err, CommErrorCode code, const std::string& what);
