#pragma once
// filtaro-cli: headless use of the core. Each command is a function taking
// its arguments (without the command name) and the serial line the device
// commands use, and returning the exit status: 0 on success, otherwise
// non-zero after one German line on `err`.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class BytePort;

// Positional arguments and "--name value" / "--flag" options; "--" ends
// the options (a file named "-x.dat" or "--x.dat" can follow it).
class CliArgs {
public:
    // `valueOptions` take a value, `flagOptions` do not; anything else
    // starting with "--" is an error (see error()).
    CliArgs(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
            const std::vector<std::string>& flagOptions = {});

    const std::vector<std::string>& positional() const { return m_positional; }
    std::optional<std::string> value(const std::string& name) const;
    // Every value of an option that may be given more than once, in order.
    std::vector<std::string> values(const std::string& name) const;
    bool flag(const std::string& name) const;
    // Empty when the arguments parsed; otherwise the German message.
    const std::string& error() const { return m_error; }

private:
    std::vector<std::string> m_positional;
    std::vector<std::pair<std::string, std::string>> m_values;
    std::vector<std::string> m_flags;
    std::string m_error;
};

// The parts of an option's value between `separator`s ("9,4" gives "9" and
// "4"; an empty value gives one empty part).
std::vector<std::string> splitList(const std::string& text, char separator);

// Parses a decimal integer in [lo, hi]; nullopt if it is not one.
std::optional<int> parseIntArg(const std::string& text, int lo, int hi);

// The "--preset N" option (N = 1..4, default 1); nullopt if N is not one.
std::optional<int> presetOption(const CliArgs& args);

enum class ResponseQuantity;
// The "--view magnitude|phase|groupdelay" option (default magnitude);
// nullopt for any other name.
std::optional<ResponseQuantity> viewOption(const CliArgs& args);
constexpr const char* ViewOptionError = "Die Ansicht muss magnitude, phase oder groupdelay sein.";

class ParameterImage;
// Loads the parameter file a command works on; false after one line on
// `err` (fileOpenFailure: the file and why it cannot be loaded).
bool loadCommandFile(ParameterImage& image, const std::string& path, std::ostream& err);

using CliCommand = int (*)(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err, BytePort& port);

struct CliCommandEntry {
    const char* name;
    const char* usage;    // e.g. "show FILE"
    const char* summary;  // one line
    CliCommand run;
};

// The command table (CliCommandTable.cpp).
const std::vector<CliCommandEntry>& cliCommands();

// Dispatches argv[1] to its command; "--help" / no command prints the usage,
// "COMMAND --help" the command's. The device commands open `port`
// (filtaro-cli passes a SerialPort) and leave it as their transfer or search
// left it.
//
// A command that fails prints exactly one line on `err`, the last it wrote;
// the core's message boxes are held back meanwhile (HeldMessages) and shown
// only when the command succeeded, after its own notes. A command that
// succeeded but could not write its output fails with CliOutputFailedText.
int runCli(int argc, char** argv, std::ostream& out, std::ostream& err, BytePort& port);

constexpr const char* CliOutputFailedText = "Die Ausgabe konnte nicht geschrieben werden.";

// Prints "filtaro-cli: <message>" as one line (terminalText: bytes that are
// no UTF-8 and control characters as \xNN) and returns `status`.
int cliFail(std::ostream& err, const std::string& message, int status = 1);
