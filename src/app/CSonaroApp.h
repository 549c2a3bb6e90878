#pragma once
// The application object: owns the document of the run (the settings, the
// current file, what the device holds) and the serial port to the device,
// and builds the main window at start-up, whose view shows the document.

#include <memory>

#include "device/SerialPort.h"
#include "document/Document.h"

class CMainFrame;
class QtUserServices;

class CSonaroApp {
public:
    // `services`, when given, shows its status texts in the main window's
    // status bar while the window exists.
    explicit CSonaroApp(QtUserServices* services = nullptr);
    // Talks to the device through `port` (which must outlive the application
    // object) instead of its own serial port.
    CSonaroApp(QtUserServices* services, BytePort& port);
    // Destroys the main window first (the view saves the image on its way
    // out), then closes the port.
    ~CSonaroApp();
    CSonaroApp(const CSonaroApp&) = delete;
    CSonaroApp& operator=(const CSonaroApp&) = delete;

    enum class Startup {
        Running,  // the main window is shown; run the event loop
        Ended,    // start-up ended the program on purpose (exit code 0)
    };

    // Builds the main frame and its view, runs the view's start-up (which
    // talks to the device and shows the welcome box), then titles and shows
    // the main window.
    Startup initInstance();

    CMainFrame* mainFrame() const { return m_pMainFrame.get(); }
    Document& document() { return m_document; }

    // The About box ("Inf&o über Filtaro...").
    void onAppAbout();

private:
    void closeMainFrame();

    QtUserServices* m_pServices;
    SerialPort m_serialPort;  // the port, unless another was handed in
    Document m_document;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
