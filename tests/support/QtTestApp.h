#pragma once
// The QApplication of a widget test suite: created on first use, kept for
// the rest of the process (widgets need it; gtest_main does not make one).
// The suites run on Qt's offscreen platform unless the caller chose another.

#include <QApplication>
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
