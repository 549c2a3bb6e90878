#pragma once
// The user-facing services of the program's window: message boxes, the wait
// cursor, the status-bar text and the fixed waits, for the core and for the
// GUI alike. Status texts go to the sink the application wires to the main
// window while it exists; without a sink they go nowhere.
//
// A box runs through runModal (so a test can answer it); while the wait cursor
// is up, the box shows the normal cursor.
//
// With auto-answer on (the screenshot run), no box is shown: each one is
// written to standard error as "title: text" and counts as answered with OK.

#include <QString>
#include <functional>

#include "platform/UserServices.h"

class CQtUserServices final : public UserServices {
public:
    CQtUserServices() { installUserServices(this); }
    ~CQtUserServices() override { installUserServices(nullptr); }
    CQtUserServices(const CQtUserServices&) = delete;
    CQtUserServices& operator=(const CQtUserServices&) = delete;

    void setAutoAnswer(bool on) { m_bAutoAnswer = on; }
    bool autoAnswer() const { return m_bAutoAnswer; }

    using StatusSink = std::function<void(const QString& text)>;
    // Where status texts go from now on; an empty sink drops them.
    void setStatusSink(StatusSink sink) { m_statusSink = std::move(sink); }

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    void beginWaitCursor() override;
    void endWaitCursor() override;
    void setStatusText(const std::string& text) override;
    // The program's fixed waits (500 ms after opening the port, 6 s after a
    // send) block the user interface on purpose: nothing may be edited or
    // sent while the device is busy, and the wait cursor says so.
    void sleepMs(unsigned milliseconds) override;

private:
    bool m_bAutoAnswer = false;
    StatusSink m_statusSink;
};
