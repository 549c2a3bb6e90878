// filtaro-cli search: probes COM1 to COM255 like the program's device search
// and records the port found in "FILTARO.INI". Prints the outcome once:
// the success text on standard output (exit 0) or the failure text (exit 1).

#include <vector>

#include "device/DeviceSearch.h"
#include "platform/UserServices.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliDevice.h"

namespace {

// Collects the search's message boxes so that the command can print its
// outcome once, where it belongs; everything else goes on to the console.
class SearchMessages final : public UserServices {
public:
    SearchMessages() : m_console(userServices()) { installUserServices(this); }
    ~SearchMessages() override { installUserServices(&m_console); }
    SearchMessages(const SearchMessages&) = delete;
    SearchMessages& operator=(const SearchMessages&) = delete;

    void messageBox(const std::string& text, const std::string&, MessageIcon) override {
        texts.push_back(text);
    }
    Answer askYesNo(const std::string& text, const std::string& title, MessageIcon icon,
                    Answer defaultAnswer) override {
        return m_console.askYesNo(text, title, icon, defaultAnswer);
    }
    void beginWaitCursor() override { m_console.beginWaitCursor(); }
    void endWaitCursor() override { m_console.endWaitCursor(); }
    void setStatusText(const std::string& text) override { m_console.setStatusText(text); }
    void progress(ProgressUnit unit, int done, int total) override {
        m_console.progress(unit, done, total);
    }
    void sleepMs(unsigned milliseconds) override { m_console.sleepMs(milliseconds); }

    std::vector<std::string> texts;

private:
    UserServices& m_console;
};

}  // namespace

int cliSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              BytePort& port) {
    const CliArgs parsed(args, {});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), CliDeviceInputError);
    }
    if (!parsed.positional().empty()) {
        return cliFail(err, "Aufruf: filtaro-cli search", CliDeviceInputError);
    }
    int found = 0;
    std::vector<std::string> texts;
    {
        SearchMessages messages;
        found = searchDevice(port);
        texts = messages.texts;
    }
    if (found == 0) {
        for (const auto& text : texts) cliFail(err, text);
        return 1;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i == 0) {
            out << texts[i] << '\n';  // the success message
        } else {
            cliFail(err, texts[i]);  // a port that could not be stored
        }
    }
    return 0;
}
