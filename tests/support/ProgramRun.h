#pragma once
// The whole program in a test: a scratch directory made current (the program
// writes Filtaro.dat, FILTARO.INI and dump files there), FILTARO_PORT_DIR
// pointing at an empty port directory (no device) unless a simulator is
// attached as COM1, recorded message boxes, and every modal dialog answered
// with its own OK. Qt suites only.

#include <QDialog>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "device/WireImage.h"
#include "forms/CTemplateDialog.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "support/QtTestApp.h"
#include "support/RecordingUserServices.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "tools/devsim/DeviceSimulator.h"
#include "tools/devsim/DevsimMemory.h"
#include "ui/CWelcomeDlg.h"
#include "view/CSonaroView.h"

struct SeenDialog {
    QString className;
    QString title;            // the dialog's caption
    QString message;          // the welcome box's message line
    std::size_t boxesBefore;  // message boxes shown before this dialog
    QString mainTitle;        // the main window's title meanwhile
    bool mainVisible;
};

class ProgramRun {
public:
    ProgramRun() : m_answer([this](QDialog& dialog) { return answer(dialog); }) { qtTestApp(); }
    ~ProgramRun() { end(); }

    // A simulated device on COM1 whose memory holds `image`'s presets.
    DeviceSimulator& attachDevice(const ParameterImage& image, DevsimFaults faults = {}) {
        const std::string memory = ports.file("device-memory.bin");
        if (!saveDevsimMemory(memory, encodeWireImage(image))) {
            throw std::runtime_error("device memory not written");
        }
        DevsimOptions options;
        options.linkPath = ports.file("COM1");
        options.memoryFile = memory;
        options.faults = faults;
        m_device = std::make_unique<DeviceSimulator>(options);
        std::string error;
        if (!m_device->start(error)) {
            throw std::runtime_error("simulator: " + error);
        }
        return *m_device;
    }

    CSonaroApp::Startup start() {
        app = std::make_unique<CSonaroApp>();
        return app->initInstance();
    }
    // Program end: the frame and the view go (the view saves), then the port.
    void end() { app.reset(); }

    CMainFrame& frame() const { return *app->mainFrame(); }
    CSonaroView& view() const { return *app->mainFrame()->view(); }
    ParameterImage& image() const { return *app->m_pImage; }

    // Extra answers: called before the default OK; returning true means the
    // hook answered (its result is taken from `result`).
    std::function<bool(QDialog&, int& result)> hook;

    // Declaration order is destruction order in reverse: the program ends
    // before the device, the directories and the recorder go.
    RecordingUserServices services;
    ScratchDir dir{true};
    ScratchDir ports;
    std::vector<SeenDialog> dialogs;

private:
    int answer(QDialog& dialog) {
        // What the person would see: the dialog as initialised for showing.
        if (auto* templated = dynamic_cast<CTemplateDialog*>(&dialog)) {
            templated->ensureInitDialog();
        }
        SeenDialog seen{QString::fromLatin1(dialog.metaObject()->className()),
                        dialog.windowTitle(),
                        {},
                        services.messages.size(),
                        {},
                        false};
        if (auto* welcome = dynamic_cast<CWelcomeDlg*>(&dialog)) {
            seen.message = welcome->m_strMessage;
        }
        if (app && app->mainFrame()) {
            seen.mainTitle = app->mainFrame()->windowTitle();
            seen.mainVisible = app->mainFrame()->isVisible();
        }
        dialogs.push_back(seen);
        int result = QDialog::Rejected;
        if (hook && hook(dialog, result)) {
            return result;
        }
        return acceptDialog(dialog);
    }

    ScopedEnv m_portDir{"FILTARO_PORT_DIR", ports.path().string()};
    ScopedModalAnswer m_answer;
    std::unique_ptr<DeviceSimulator> m_device;

public:
    std::unique_ptr<CSonaroApp> app;
};
