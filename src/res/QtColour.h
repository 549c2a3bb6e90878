#pragma once
// The one way from the plain colours of the lower layers to Qt's.

#include <QColor>

#include "plotmodel/PlotPalette.h"

inline QColor toQColor(PaletteColour c) {
    return QColor(c.red, c.green, c.blue);
}
