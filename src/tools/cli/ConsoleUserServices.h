#pragma once
// The user-facing services for filtaro-cli: a message box becomes one line
// "<title>: <text>" on the error stream (line breaks of the text folded to
// blanks), a question too, answered with its default (nobody is asked); the
// wait cursor and progress show nothing, status texts appear on the error
// stream only when verbose, and waits are real.

#include <ostream>

#include "platform/UserServices.h"

class ConsoleUserServices final : public UserServices {
public:
    explicit ConsoleUserServices(std::ostream& err, bool verbose = false)
        : m_err(err), m_verbose(verbose) {}

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    Answer askYesNo(const std::string& text, const std::string& title, MessageIcon icon,
                    Answer defaultAnswer) override;
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    void setStatusText(const std::string& text) override;
    void progress(ProgressUnit, int, int) override {}
    void sleepMs(unsigned milliseconds) override;

private:
    std::ostream& m_err;
    bool m_verbose;
};

// Folds every line break ("\n", "\r\n" or "\r") into one blank.
std::string foldLineBreaks(const std::string& text);
