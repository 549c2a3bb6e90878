#pragma once
// Records what the core shows instead of showing it; waits return at once.
// Installs itself for its lifetime.

#include <string>
#include <vector>

#include "platform/UserServices.h"

struct RecordedMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

class RecordingUserServices final : public UserServices {
public:
    RecordingUserServices() { installUserServices(this); }
    ~RecordingUserServices() override { installUserServices(nullptr); }

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    void beginWaitCursor() override { ++waitCursorDepth, ++waitCursorShown; }
    void endWaitCursor() override { --waitCursorDepth; }
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void sleepMs(unsigned milliseconds) override { sleeps.push_back(milliseconds); }

    std::vector<RecordedMessage> messages;
    std::vector<std::string> statusTexts;
    std::vector<unsigned> sleeps;
    int waitCursorDepth = 0;
    int waitCursorShown = 0;
};
