#include "plot/CReadoutPane.h"

#include <QFontMetrics>
#include <QPainter>

#include "plot/CResponsePlot.h"
#include "plot/CurveSwatch.h"

namespace {

constexpr int SwatchGap = 4;  // between a swatch and its value
constexpr int EntryGap = 10;  // between entries
constexpr int HintWidth = 640;

}  // namespace

CReadoutPane::CReadoutPane(const CResponsePlot& plot, QWidget* parent)
    : QWidget(parent), m_plot(plot) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(&plot, &CResponsePlot::readoutChanged, this, qOverload<>(&QWidget::update));
}

QSize CReadoutPane::sizeHint() const {
    return {HintWidth, fontMetrics().height()};
}

QSize CReadoutPane::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void CReadoutPane::paintEvent(QPaintEvent*) {
    m_entriesShown = 0;
    const CursorReadout& readout = m_plot.readout();
    if (readout.point < 0) return;
    QPainter painter(this);
    QFont bold = font();
    bold.setBold(true);
    const QRect area = rect();
    int x = 0;
    const QString frequency = QString::fromStdString(readout.frequency);
    painter.setFont(bold);
    const int frequencyWidth = QFontMetrics(bold).horizontalAdvance(frequency);
    if (frequencyWidth > area.width()) return;
    painter.drawText(QRect(x, 0, frequencyWidth, area.height()), Qt::AlignVCenter, frequency);
    x += frequencyWidth + EntryGap;
    painter.setFont(font());
    const QFontMetrics fm = fontMetrics();
    for (const ReadoutEntry& e : readout.entries) {
        const QString value = QString::fromStdString(e.text);
        const int width = CurveSwatchSide + SwatchGap + fm.horizontalAdvance(value);
        if (x + width > area.width()) break;
        paintCurveSwatch(painter, QPoint(x, (area.height() - CurveSwatchSide) / 2),
                         m_plot.curveColour(e.id));
        painter.drawText(QRect(x + CurveSwatchSide + SwatchGap, 0, width, area.height()),
                         Qt::AlignVCenter, value);
        x += width + EntryGap;
        ++m_entriesShown;
    }
}
