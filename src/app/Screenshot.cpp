#include "app/Screenshot.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPixmap>
#include <QThread>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "model/ParameterImage.h"
#include "plot/PngFile.h"
#include "view/CSonaroView.h"

int writeScreenshot(CSonaroApp& app, const QString& file, QString& error) {
    CMainFrame* frame = app.mainFrame();
    CSonaroView* view = frame ? frame->view() : nullptr;
    if (!view) {
        error = QStringLiteral("Das Hauptfenster existiert nicht.");
        return 1;
    }
    // Showing the window lays the form out, which asks for a redraw; the
    // picture is complete once the timer has drawn and nothing is pending.
    const int before = view->redrawCount();
    QDeadlineTimer deadline(ScreenshotRedrawWaitMs);
    const ParameterImage& image = app.document().image();
    while (view->redrawCount() == before || image.redrawPending() == 1) {
        if (deadline.hasExpired()) {
            error = QStringLiteral("Die Kurven wurden nicht gezeichnet.");
            return 1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(1);
    }
    if (!savePngFile(frame->grab().toImage(), QFile::encodeName(file).toStdString())) {
        error = QStringLiteral("%1 konnte nicht geschrieben werden.").arg(file);
        return 1;
    }
    return 0;
}
