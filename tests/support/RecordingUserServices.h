#pragma once
// Records what the core shows instead of showing it; waits return at once.
// Questions are answered from `answers` in order, then with their default.
// Installs itself for its lifetime.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/UserServices.h"

struct RecordedMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

struct RecordedQuestion {
    std::string text;
    std::string title;
    Answer defaultAnswer;
};

struct RecordedProgress {
    ProgressUnit unit;
    int done;
    int total;
    friend bool operator==(const RecordedProgress&, const RecordedProgress&) = default;
};

class RecordingUserServices final : public UserServices {
public:
    RecordingUserServices() { installUserServices(this); }
    ~RecordingUserServices() override { installUserServices(nullptr); }

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    Answer askYesNo(const std::string& text, const std::string& title, MessageIcon,
                    Answer defaultAnswer) override {
        questions.push_back({text, title, defaultAnswer});
        if (answers.empty()) return defaultAnswer;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void beginWaitCursor() override { ++waitCursorDepth, ++waitCursorShown; }
    void endWaitCursor() override { --waitCursorDepth; }
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void progress(ProgressUnit unit, int done, int total) override {
        progressSteps.push_back({unit, done, total});
    }
    void sleepMs(unsigned milliseconds) override {
        sleeps.push_back(milliseconds);
        if (duringSleep) duringSleep(milliseconds);
    }

    std::vector<RecordedMessage> messages;
    std::vector<RecordedQuestion> questions;
    std::deque<Answer> answers;
    std::vector<std::string> statusTexts;
    std::vector<RecordedProgress> progressSteps;
    std::vector<unsigned> sleeps;
    // What the user does while a fixed wait runs (clicks that must come to
    // nothing, for instance).
    std::function<void(unsigned)> duringSleep;
    int waitCursorDepth = 0;
    int waitCursorShown = 0;
};
