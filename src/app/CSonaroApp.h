#pragma once
// The application object: holds the one ParameterImage pointer, the current
// file name and the one serial port for the whole run, and builds the main
// window at start-up. There is one instance at a time, reachable through
// theApp(); the image itself is allocated and released by the main view.

#include <memory>
#include <string>

#include "device/SerialPort.h"
#include "model/ParameterImage.h"

class CMainFrame;
class CSonaroDoc;

class CSonaroApp {
public:
    CSonaroApp();
    // Destroys the main window first (the view saves the image on its way
    // out), then closes the serial port.
    ~CSonaroApp();
    CSonaroApp(const CSonaroApp&) = delete;
    CSonaroApp& operator=(const CSonaroApp&) = delete;

    enum class Startup {
        Running,  // the main window is shown; run the event loop
        Ended,    // start-up ended the program on purpose (exit code 0)
    };

    // Builds document, main frame and view, runs the view's start-up (which
    // talks to the device and shows the welcome box), then titles and shows
    // the main window.
    Startup initInstance();

    CMainFrame* mainFrame() const { return m_pMainFrame.get(); }

    // The About box ("Inf&o über Filtaro...").
    void onAppAbout();

    ParameterImage* m_pImage = nullptr;  // owned by the main view
    std::string m_strFileName;           // name part only; the save at program end uses it
    SerialPort m_serialPort;

private:
    std::unique_ptr<CSonaroDoc> m_pDoc;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

// The application object, or nullptr when none exists.
CSonaroApp* theApp();

// Main window titles.
constexpr const char* TitleStarted = "Klarwelle Filtaro";
constexpr const char* TitleNewFile = "Filtaro - Neue Datei";
constexpr const char* TitleFilePrefix = "Klarwelle Filtaro - ";
