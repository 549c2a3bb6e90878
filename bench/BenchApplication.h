#pragma once
// The one application object the window's benchmarks share (Qt allows one
// per process), on Qt's offscreen platform unless another is asked for.

#include <QApplication>
#include <cstdlib>

inline QApplication& benchApplication() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    static int argc = 1;
    static char name[] = "filtaro-bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return *new QApplication(argc, argv);
}
