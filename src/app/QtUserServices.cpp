#include "app/QtUserServices.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
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

// A question may carry a list, one item a line: the lines stay whole, and
// the box grows to the longest (up to its own limit) instead of wrapping them.
QString unwrappedLines(const std::string& text) {
    QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (!line.isEmpty())
            line = QStringLiteral("<nobr>") + line.toHtmlEscaped() + QStringLiteral("</nobr>");
    }
    return lines.join(QStringLiteral("<br>"));
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

void QtUserServices::messageBox(const std::string& text, const std::string& title,
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

Answer QtUserServices::askYesNo(const std::string& text, const std::string& title, MessageIcon icon,
                                Answer defaultAnswer) {
    if (m_bAutoAnswer) {
        std::cerr << title << ": " << text << '\n';
        return defaultAnswer;
    }
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), unwrappedLines(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::RichText);
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(defaultAnswer == Answer::Yes ? yes : no);
    box.setEscapeButton(no);
    runWithTheNormalCursor(box);
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

void QtUserServices::beginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUserServices::endWaitCursor() {
    QApplication::restoreOverrideCursor();
}

void QtUserServices::setStatusText(const std::string& text) {
    if (m_statusSink) {
        m_statusSink(QString::fromStdString(text));
    }
}

void QtUserServices::progress(ProgressUnit unit, int done, int total) {
    if (m_progressSink) {
        m_progressSink(unit, done, total);
    }
}

void QtUserServices::sleepMs(unsigned milliseconds) {
    if (milliseconds < CountdownFromMs || !m_progressSink) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    const int total = static_cast<int>(milliseconds);
    for (unsigned slept = 0; slept < milliseconds;) {
        progress(ProgressUnit::Milliseconds, static_cast<int>(slept), total);
        const unsigned step = std::min(CountdownStepMs, milliseconds - slept);
        std::this_thread::sleep_for(std::chrono::milliseconds(step));
        slept += step;
    }
    progress(ProgressUnit::Milliseconds, total, total);
}
