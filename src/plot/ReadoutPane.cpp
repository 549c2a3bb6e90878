#include "plot/ReadoutPane.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

#include "plot/CResponsePlot.h"
#include "plot/CurveSwatch.h"

namespace {

constexpr int SwatchGap = 4;  // between a swatch and its value
constexpr int EntryGap = 10;  // between entries
constexpr int CompactEntryGap = 7;
constexpr int HintWidth = 640;

}  // namespace

ReadoutPane::ReadoutPane(const CResponsePlot& plot, QWidget* parent)
    : QWidget(parent), m_plot(plot) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(&plot, &CResponsePlot::readoutChanged, this, qOverload<>(&QWidget::update));
}

QSize ReadoutPane::sizeHint() const {
    return {HintWidth, fontMetrics().height()};
}

QSize ReadoutPane::minimumSizeHint() const {
    return {0, fontMetrics().height()};
}

void ReadoutPane::paintEvent(QPaintEvent*) {
    m_entriesShown = 0;
    const CursorReadout& readout = m_plot.readout();
    if (readout.point < 0) return;
    QPainter painter(this);
    QFont bold = font();
    bold.setBold(true);
    auto widthOf = [](const QStaticText& t) {
        return static_cast<int>(std::ceil(t.size().width()));
    };
    // Every value with its unit where all fit; else the unit once, after the
    // frequency, and the bare numbers, so that a narrow window still shows
    // the measurements and predictions at the end.
    auto layOut = [&](bool compact) {
        Line line;
        line.frequency = m_boldTexts.get(
            QString::fromStdString(compact ? readout.frequency + " [" + readout.unit + "]"
                                           : readout.frequency),
            bold);
        const int gap = compact ? CompactEntryGap : EntryGap;
        int x = widthOf(line.frequency) + gap;
        for (const ReadoutEntry& e : readout.entries) {
            const QStaticText value =
                m_texts.get(QString::fromStdString(compact ? e.number : e.text), font());
            line.entries.push_back({x, value, m_plot.curveColour(e.id)});
            x += CurveSwatchSide + SwatchGap + widthOf(value) + gap;
        }
        line.width = x - gap;
        return line;
    };
    Line line = layOut(false);
    if (line.width > width()) line = layOut(true);
    const int available = width();
    const int textTop =
        (height() - static_cast<int>(std::ceil(line.frequency.size().height()))) / 2;
    const int swatchTop = (height() - CurveSwatchSide) / 2;
    if (widthOf(line.frequency) > available) return;
    // A static text is drawn in the painter's font, which must be the one it
    // was laid out in.
    painter.setFont(bold);
    painter.drawStaticText(QPoint(0, textTop), line.frequency);
    painter.setFont(font());
    for (const Entry& e : line.entries) {
        const int valueX = e.x + CurveSwatchSide + SwatchGap;
        if (valueX + widthOf(e.value) > available) break;  // the rest does not fit
        paintCurveSwatch(painter, QPoint(e.x, swatchTop), e.colour);
        painter.drawStaticText(QPoint(valueX, textTop), e.value);
        ++m_entriesShown;
    }
}
