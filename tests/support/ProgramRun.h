#pragma once
// The whole program in a test: a scratch directory made current (the program
// writes Filtaro.dat, FILTARO.INI and dump files there) with the user's data
// folder in it (backups go to data/Filtaro/backups), recorded message boxes,
// questions, status texts and notices, and every modal dialog answered with
// its own OK.
// The program's port is `line`, the simulator's port in memory: only the COM
// ports a test sets up there exist, and a transfer is done when its command
// returns. With attachPtyDevice the program uses its own serial port, the real
// line. Qt suites only.

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "forms/ModalRunner.h"
#include "forms/TemplateDialog.h"
#include "model/ParameterImage.h"
#include "simulator/SimulatedPort.h"
#include "support/PortDirectory.h"
#include "support/QtTestApp.h"
#include "support/RecordingUserServices.h"
#include "support/ScopedEnv.h"
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

    // A device simulator on a pseudo-terminal as COM1, holding the presets of
    // `presets` (or those of a factory-fresh device). The program then opens
    // its own serial port. Before start().
    DeviceSimulator& attachPtyDevice(const ParameterImage* presets = nullptr) {
        if (!m_ptyPorts) {
            m_ptyPorts.emplace();
        }
        return m_ptyPorts->attach(1, presets);
    }

    // Starts the program. The status texts of the view's commands are
    // recorded with those of the core, in the order the status bar shows
    // them (start-up shows none of the view's).
    CSonaroApp::Startup start() {
        app = m_ptyPorts ? std::make_unique<CSonaroApp>()
                         : std::make_unique<CSonaroApp>(nullptr, line);
        const CSonaroApp::Startup startup = app->initInstance();
        if (CMainFrame* frame = app->mainFrame()) {
            QObject::connect(frame->view(), &CSonaroView::statusTextChanged,
                             [this](const QString& text) {
                                 services.statusTexts.push_back(text.toStdString());
                             });
            QObject::connect(frame->view(), &CSonaroView::noticeShown, [this](const QString& text) {
                notices.push_back(text.toStdString());
            });
            QObject::connect(frame->view(), &CSonaroView::resultShown, [this](const QString& text) {
                results.push_back(text.toStdString());
            });
        }
        return startup;
    }
    // Program end: the frame and the view go (the view saves), then the port.
    void end() { app.reset(); }

    CMainFrame& frame() const { return *app->mainFrame(); }
    CSonaroView& view() const { return *app->mainFrame()->view(); }
    Document& document() const { return app->document(); }
    ParameterImage& image() const { return document().image(); }

    // Extra answers: called before the default OK; returning true means the
    // hook answered (its result is taken from `result`).
    std::function<bool(QDialog&, int& result)> hook;

    // Declaration order is destruction order in reverse: the program ends
    // before the devices, the directories and the recorder go.
    RecordingUserServices services;
    ScratchDir dir{true};
    ScopedEnv dataFolder{"XDG_DATA_HOME", dir.file("data")};
    SimulatedPort line;
    std::vector<SeenDialog> dialogs;
    // Notices of the view after start-up (start-up's own go before they
    // can be recorded).
    std::vector<std::string> notices;
    // How the view's commands ended, as the status bar shows it.
    std::vector<std::string> results;

    // The backup folder of this run.
    std::string backupDir() const { return dir.file("data/Filtaro/backups"); }

private:
    int answer(QDialog& dialog) {
        // What the person would see: the dialog as initialised for showing.
        if (auto* templated = dynamic_cast<TemplateDialog*>(&dialog)) {
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

    std::optional<PortDirectory> m_ptyPorts;
    ScopedModalAnswer m_answer;

public:
    std::unique_ptr<CSonaroApp> app;
};
