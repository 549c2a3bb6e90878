#pragma once
// The user-facing services of the program's window: message boxes and
// questions, the wait cursor, the status-bar text, progress and the fixed
// waits, for the core and for the GUI alike. Status texts and progress go to
// the sinks the application wires to the main window while it exists;
// without a sink they go nowhere.
//
// A box runs through runModal (so a test can answer it); while the wait cursor
// is up, the box shows the normal cursor.
//
// With auto-answer on (the screenshot run), no box is shown: each one is
// written to standard error as "title: text" and counts as answered with OK,
// or with its default button.

#include <QString>
#include <functional>

#include "platform/UserServices.h"

class QtUserServices final : public UserServices {
public:
    QtUserServices() { installUserServices(this); }
    ~QtUserServices() override { installUserServices(nullptr); }
    QtUserServices(const QtUserServices&) = delete;
    QtUserServices& operator=(const QtUserServices&) = delete;

    void setAutoAnswer(bool on) { m_bAutoAnswer = on; }
    bool autoAnswer() const { return m_bAutoAnswer; }

    using StatusSink = std::function<void(const QString& text)>;
    // Where status texts go from now on; an empty sink drops them.
    void setStatusSink(StatusSink sink) { m_statusSink = std::move(sink); }
    using ProgressSink = std::function<void(ProgressUnit unit, int done, int total)>;
    // Where progress goes from now on; an empty sink drops it.
    void setProgressSink(ProgressSink sink) { m_progressSink = std::move(sink); }

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    // "Ja" and "Nein"; Escape and the close box answer "Nein".
    Answer askYesNo(const std::string& text, const std::string& title, MessageIcon icon,
                    Answer defaultAnswer) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void setStatusText(const std::string& text) override;
    void progress(ProgressUnit unit, int done, int total) override;
    // The program's fixed waits (500 ms after opening the port, 6 s after a
    // send) block the user interface on purpose: nothing may be edited or
    // sent while the device is busy, and the wait cursor says so. A wait of
    // CountdownFromMs or more counts down beside the status text.
    void sleepMs(unsigned milliseconds) override;

    static constexpr unsigned CountdownFromMs = 1000;
    static constexpr unsigned CountdownStepMs = 100;

private:
    bool m_bAutoAnswer = false;
    StatusSink m_statusSink;
    ProgressSink m_progressSink;
};
