#include "app/CSonaroApp.h"

#include "app/CMainFrame.h"
#include "app/QtUserServices.h"
#include "forms/ModalRunner.h"
#include "ui/CAboutDlg.h"
#include "view/CSonaroView.h"

CSonaroApp::CSonaroApp(QtUserServices* services)
    : m_pServices(services), m_document(m_serialPort) {}

CSonaroApp::CSonaroApp(QtUserServices* services, BytePort& port)
    : m_pServices(services), m_document(port) {}

CSonaroApp::~CSonaroApp() {
    closeMainFrame();
    if (m_document.port().isOpen()) {
        m_document.port().close();
    }
}

CSonaroApp::Startup CSonaroApp::initInstance() {
    // File New: frame with its bars and the view; then the view's initial
    // update, which runs to its end (welcome box included) before the window
    // is shown.
    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (m_pServices) {
        m_pServices->setStatusSink(
            [frame = m_pMainFrame.get()](const QString& text) { frame->setStatusText(text); });
        m_pServices->setProgressSink(
            [frame = m_pMainFrame.get()](ProgressUnit unit, int done, int total) {
                frame->showProgress(unit, done, total);
            });
    }
    if (!m_pMainFrame->view()->onInitialUpdate()) {
        closeMainFrame();
        return Startup::Ended;
    }
    m_document.showStarted();
    m_pMainFrame->showNormal();
    m_pMainFrame->update();
    m_pMainFrame->updateCommandUi();
    return Startup::Running;
}

void CSonaroApp::closeMainFrame() {
    if (m_pServices) {
        m_pServices->setStatusSink({});
        m_pServices->setProgressSink({});
    }
    m_pMainFrame.reset();
}

void CSonaroApp::onAppAbout() {
    CAboutDlg dlg(&m_document.image(), m_pMainFrame.get());
    runModal(dlg);
}
