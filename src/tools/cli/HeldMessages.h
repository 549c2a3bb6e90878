#pragma once
// The message boxes the core shows while a command runs, held back instead
// of shown: a command reports its outcome itself, in one line (a failed
// transfer would otherwise print the window's "Schnittstelle antwortet
// nicht!" as well as the command's line, which names the real code). The
// wait cursor, status texts and waits go on to the services installed
// before. Installs itself for its lifetime and then puts those back.

#include <string>
#include <vector>

#include "platform/UserServices.h"

struct HeldMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

class HeldMessages final : public UserServices {
public:
    HeldMessages();
    ~HeldMessages() override;
    HeldMessages(const HeldMessages&) = delete;
    HeldMessages& operator=(const HeldMessages&) = delete;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    Answer askYesNo(const std::string& text, const std::string& title, MessageIcon icon,
                    Answer defaultAnswer) override {
        return m_next.askYesNo(text, title, icon, defaultAnswer);
    }
    void beginWaitCursor() override { m_next.beginWaitCursor(); }
    void endWaitCursor() override { m_next.endWaitCursor(); }
    void setStatusText(const std::string& text) override { m_next.setStatusText(text); }
    void progress(ProgressUnit unit, int done, int total) override {
        m_next.progress(unit, done, total);
    }
    void sleepMs(unsigned milliseconds) override { m_next.sleepMs(milliseconds); }

    const std::vector<HeldMessage>& held() const { return m_held; }
    // Shows what is held through the services installed before (a command
    // that succeeded passes on its warnings), and forgets it.
    void release();

private:
    UserServices& m_next;
    std::vector<HeldMessage> m_held;
};
