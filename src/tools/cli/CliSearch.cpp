// filtaro-cli search: probes COM1 to COM255 like the program's device search
// and records the port found in "FILTARO.INI". Prints the outcome once:
// the success text on standard output (exit 0) or the failure text (exit 1).

#include <vector>

#include "device/DeviceSearch.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliDevice.h"
#include "tools/cli/HeldMessages.h"

int cliSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              BytePort& port) {
    const CliArgs parsed(args, {});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), CliDeviceInputError);
    }
    if (!parsed.positional().empty()) {
        return cliFail(err, "Aufruf: filtaro-cli search", CliDeviceInputError);
    }
    // The search's message boxes are its outcome, printed once, where it
    // belongs.
    HeldMessages messages;
    const int found = searchDevice(port);
    const std::vector<HeldMessage>& texts = messages.held();
    if (found == 0) {
        return cliFail(err, texts.empty() ? std::string() : texts.back().text);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i == 0) {
            out << texts[i].text << '\n';  // the success message
        } else {
            cliFail(err, texts[i].text);  // a port that could not be stored
        }
    }
    return 0;
}
