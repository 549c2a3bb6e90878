#include "app/CSonaroApp.h"

#include "app/CMainFrame.h"
#include "app/CSonaroDoc.h"
#include "forms/ModalRunner.h"
#include "ui/CAboutDlg.h"
#include "view/CSonaroView.h"

namespace {

CSonaroApp* g_pApp = nullptr;

}  // namespace

CSonaroApp* theApp() {
    return g_pApp;
}

CSonaroApp::CSonaroApp() {
    g_pApp = this;
}

CSonaroApp::~CSonaroApp() {
    m_pMainFrame.reset();
    m_pDoc.reset();
    m_serialPort.closeIfOpen();
    g_pApp = nullptr;
}

CSonaroApp::Startup CSonaroApp::initInstance() {
    // File New: document, frame with its bars, view; then the view's
    // initial update, which runs to its end (welcome box included) before
    // the window is shown.
    m_pDoc = std::make_unique<CSonaroDoc>();
    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_pMainFrame->view()->onInitialUpdate()) {
        m_pMainFrame.reset();
        m_pDoc.reset();
        return Startup::Ended;
    }
    m_pMainFrame->setWindowTitle(QString::fromUtf8(TitleStarted));
    m_pMainFrame->showNormal();
    m_pMainFrame->update();
    m_pMainFrame->updateCommandUi();
    return Startup::Running;
}

void CSonaroApp::onAppAbout() {
    CAboutDlg dlg(m_pImage, m_pMainFrame.get());
    runModal(dlg);
}
