#include "plot/CReadoutPane.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

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
    auto widthOf = [](const QStaticText& t) {
        return static_cast<int>(std::ceil(t.size().width()));
    };
    const int available = width();
    const QStaticText frequency = m_boldTexts.get(QString::fromStdString(readout.frequency), bold);
    const int textTop = (height() - static_cast<int>(std::ceil(frequency.size().height()))) / 2;
    const int swatchTop = (height() - CurveSwatchSide) / 2;
    int x = widthOf(frequency);
    if (x > available) return;
    // A static text is drawn in the painter's font, which must be the one it
    // was laid out in.
    painter.setFont(bold);
    painter.drawStaticText(QPoint(0, textTop), frequency);
    painter.setFont(font());
    x += EntryGap;
    for (const ReadoutEntry& e : readout.entries) {
        const QStaticText value = m_texts.get(QString::fromStdString(e.text), font());
        const int valueX = x + CurveSwatchSide + SwatchGap;
        const int end = valueX + widthOf(value);
        if (end > available) break;
        paintCurveSwatch(painter, QPoint(x, swatchTop), m_plot.curveColour(e.id));
        painter.drawStaticText(QPoint(valueX, textTop), value);
        x = end + EntryGap;
        ++m_entriesShown;
    }
}
