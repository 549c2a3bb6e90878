#include "view/InputDiscarder.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace {

bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

// Whether `receiver` belongs to the modal box that is up, if any.
bool inModalBox(const QObject* receiver) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return false;
    if (receiver->isWidgetType()) {
        const auto* widget = static_cast<const QWidget*>(receiver);
        return widget->window() == modal;
    }
    if (receiver->isWindowType()) {
        return modal->windowHandle() == receiver;
    }
    return false;
}

}  // namespace

InputDiscarder::InputDiscarder() {
    QCoreApplication::instance()->installEventFilter(this);
}

InputDiscarder::~InputDiscarder() {
    // What the window system delivered while the event loop stood still is
    // taken in now and dropped here, not run by the loop afterwards. Timers
    // wait for the loop: the redraw stays the timer's, after the command.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    QCoreApplication::instance()->removeEventFilter(this);
}

void InputDiscarder::catchUp() {
    QGuiApplication::sync();
}

bool InputDiscarder::discards(const QObject* receiver, const QEvent* event) {
    return isInput(event->type()) && !inModalBox(receiver);
}

bool InputDiscarder::eventFilter(QObject* watched, QEvent* event) {
    if (discards(watched, event)) {
        event->accept();  // a shortcut override accepted goes nowhere either
        return true;
    }
    return QObject::eventFilter(watched, event);
}
