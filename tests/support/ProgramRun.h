#pragma once
// The whole program in a test: a scratch directory made current (the program
// writes Filtaro.dat, FILTARO.INI and dump files there), FILTARO_PORT_DIR
// pointing at an empty port directory (no device) unless simulators are
// attached, recorded message boxes and status texts, and every modal dialog
// answered with its own OK. Qt suites only.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "forms/CTemplateDialog.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "support/PortDirectory.h"
#include "support/QtTestApp.h"
#include "support/RecordingUserServices.h"
#include "support/ScratchDir.h"
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
    DeviceSimulator& attachDevice(const ParameterImage& image, const DevsimFaults& faults = {}) {
        return ports.attach(1, &image, faults);
    }

    // Starts the program. The status texts of the view's commands are
    // recorded with those of the core, in the order the status bar shows
    // them (start-up shows none of the view's).
    CSonaroApp::Startup start() {
        app = std::make_unique<CSonaroApp>();
        const CSonaroApp::Startup startup = app->initInstance();
        if (CMainFrame* frame = app->mainFrame()) {
            QObject::connect(frame->view(), &CSonaroView::statusTextChanged,
                             [this](const QString& text) {
                                 services.statusTexts.push_back(text.toStdString());
                             });
        }
        return startup;
    }
    // Program end: the frame and the view go (the view saves), then the port.
    void end() { app.reset(); }

    CMainFrame& frame() const { return *app->mainFrame(); }
    CSonaroView& view() const { return *app->mainFrame()->view(); }
    Session& session() const { return app->session(); }
    ParameterImage& image() const { return *session().image; }

    // Extra answers: called before the default OK; returning true means the
    // hook answered (its result is taken from `result`).
    std::function<bool(QDialog&, int& result)> hook;

    // Declaration order is destruction order in reverse: the program ends
    // before the devices, the directories and the recorder go.
    RecordingUserServices services;
    ScratchDir dir{true};
    PortDirectory ports;
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

    ScopedModalAnswer m_answer;

public:
    std::unique_ptr<CSonaroApp> app;
};
