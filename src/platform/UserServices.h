#pragma once
// The user-facing services the core needs: message boxes and questions, the
// wait cursor, status texts, progress and fixed waits. The core never shows
// anything itself; the GUI installs a Qt implementation, filtaro-cli a
// console one and tests a recording one (whose waits return at once).

#include <string>

enum class MessageIcon {
    None,         // plain OK box
    Information,  // "i"
    Warning,      // exclamation mark
    Stop,         // stop / error sign
};

// The two answers of a question box ("Ja", "Nein").
enum class Answer { Yes, No };

// What the steps of a long operation count.
enum class ProgressUnit {
    Bytes,         // of a block on the line
    Ports,         // of the device search
    Milliseconds,  // of a fixed wait (shown counting down)
};

class UserServices {
public:
    virtual ~UserServices() = default;
    // A modal box with a single OK button; returns when it is dismissed.
    virtual void messageBox(const std::string& text, const std::string& title,
                            MessageIcon icon) = 0;
    // A modal box with the buttons "Ja" and "Nein"; `defaultAnswer` is the
    // button that Enter presses. Returns the button the user chose; without
    // a person to ask, `defaultAnswer`.
    virtual Answer askYesNo(const std::string& text, const std::string& title, MessageIcon icon,
                            Answer defaultAnswer) = 0;
    virtual void beginWaitCursor() = 0;
    virtual void endWaitCursor() = 0;
    // Shows the text in the status bar's message pane and repaints it at once.
    virtual void setStatusText(const std::string& text) = 0;
    // How far the operation behind the status text has got: `done` of
    // `total` steps, so that a slow device never looks like a hung program.
    // done == total ends it, and so does an empty status text.
    virtual void progress(ProgressUnit unit, int done, int total) = 0;
    // A fixed wait of the program's own (the pause after a send). A window
    // counts the longer ones down beside the status text.
    virtual void sleepMs(unsigned milliseconds) = 0;
};

// The services in force. Before anything is installed this is a silent
// implementation that shows nothing and sleeps for real.
UserServices& userServices();

// Installs `services` (not owned); nullptr restores the silent default.
void installUserServices(UserServices* services);

// Keeps a wait cursor up for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() { userServices().beginWaitCursor(); }
    ~WaitCursor() { userServices().endWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
