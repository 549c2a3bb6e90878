#include "app/StatusText.h"

#include <QLabel>
#include <QStatusBar>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"

void setStatusText(const QString& text) {
    CSonaroApp* app = theApp();
    CMainFrame* frame = app ? app->mainFrame() : nullptr;
    if (!frame) {
        return;
    }
    auto* bar = frame->findChild<QStatusBar*>(QString::fromLatin1(CMainFrame::StatusBarName));
    auto* pane =
        bar ? bar->findChild<QLabel*>(QString::fromLatin1(CMainFrame::MessagePaneName)) : nullptr;
    if (!pane) {
        return;
    }
    bar->clearMessage();  // a menu prompt still showing would hide the pane
    pane->setText(text);
    // The caller is about to block the event loop; paint now.
    bar->repaint();
}
