#include "app/CQtUserServices.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <chrono>
#include <iostream>
#include <thread>

#include "forms/ModalRunner.h"

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Runs a box modally. The wait cursor of a running operation is an
// application-wide override, which wins over any cursor of the box's own: an
// arrow on top of it, for as long as the box is up, shows the normal cursor
// over the box.
void runWithTheNormalCursor(QMessageBox& box) {
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    runModal(box);
    if (busy) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace

void CQtUserServices::messageBox(const std::string& text, const std::string& title,
                                 MessageIcon icon) {
    if (m_bAutoAnswer) {
        std::cerr << title << ": " << text << '\n';
        return;
    }
    // Owned by the active window when there is one, so the box stays above
    // it; during start-up the main window is still hidden and the box stands
    // on its own.
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    runWithTheNormalCursor(box);
}

void CQtUserServices::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUserServices::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void CQtUserServices::setStatusText(const std::string& text) {
    if (m_statusSink) {
        m_statusSink(QString::fromStdString(text));
    }
}

void CQtUserServices::sleepMs(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
