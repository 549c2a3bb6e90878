#pragma once
// The screenshot run: after start-up (its boxes already answered), waits for
// the view's first redraw of the curves and writes the main window as a PNG.

#include <QString>

class CSonaroApp;

// Waits at most this long for the first redraw before giving up.
constexpr int ScreenshotRedrawWaitMs = 20000;

// 0 when the PNG was written; otherwise 1 after one German line in `error`.
int writeScreenshot(CSonaroApp& app, const QString& file, QString& error);
