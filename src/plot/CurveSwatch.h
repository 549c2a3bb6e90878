#pragma once
// A curve's colour in the readout: a small square in that colour with a
// black outline, so that the white and the yellow show on light ground too.

#include <QColor>
#include <QPainter>
#include <QPoint>

constexpr int CurveSwatchSide = 10;

inline void paintCurveSwatch(QPainter& painter, QPoint topLeft, const QColor& colour) {
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(colour);
    painter.drawRect(topLeft.x(), topLeft.y(), CurveSwatchSide - 1, CurveSwatchSide - 1);
    painter.restore();
}
