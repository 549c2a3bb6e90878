#pragma once
// The QApplication of a widget test suite: created on first use, kept for
// the rest of the process (widgets need it; gtest_main does not make one).
// The suites run on Qt's offscreen platform unless the caller chose another.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>

inline QApplication& qtTestApp() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *app;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "filtaro-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A left click at `at` in `widget`, as the user makes it: press, then release.
inline void leftClick(QWidget* widget, QPointF at) {
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}
