#include "plot/CResponsePlot.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "plot/CurveSwatch.h"

namespace {

// The readout box: its distance from the cursor line, inner margin, gaps
// between columns and the side of a curve's colour swatch.
constexpr int BoxCursorGap = 6;
constexpr int BoxPadding = 4;
constexpr int BoxColumnGap = 8;
const QColor BoxFill(250, 250, 250);
const QColor BoxInk(0, 0, 0);
const QColor CursorColour(0, 0, 0);

constexpr const char* DelayHeading = "Verzögerung";

// Qt's raster engine hands every fill or copy of more than about a hundred
// rows to its thread pool, and for the thin, tall cursor line the hand-over
// costs many times the pixels. Small rectangles are therefore painted in
// bands of fewer rows; large ones (a whole frame) keep the threads.
constexpr int PaintBandRows = 64;
constexpr int BandedAreaLimit = 64 * 1024;

// `r` and the bands are logical pixels; on a dense screen a band is
// PaintBandRows device rows.
template <typename Paint>
void inBands(const QRect& r, qreal dpr, Paint paint) {
    if (r.width() * r.height() * dpr * dpr > BandedAreaLimit) {
        paint(r);
        return;
    }
    const int rows = std::max(1, static_cast<int>(PaintBandRows / dpr));
    for (int y = r.top(); y <= r.bottom(); y += rows) {
        paint(QRect(r.left(), y, r.width(), std::min(rows, r.bottom() + 1 - y)));
    }
}

// Copies the buffer's pixels under the logical rectangle `r`. On a dense
// buffer that is the whole device pixels it covers, one to one: a source
// rectangle of fractional pixels (at 1.25 or 1.5) would be resampled.
void copyFromBuffer(QPainter& painter, const QImage& buffer, const QRect& r) {
    const qreal dpr = buffer.devicePixelRatio();
    if (dpr == 1.0) {
        painter.drawImage(r.topLeft(), buffer, r);
        return;
    }
    const QRect source =
        QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr).toAlignedRect();
    painter.drawImage(QRectF(QPointF(source.topLeft()) / dpr, QSizeF(source.size()) / dpr), buffer,
                      source);
}

}  // namespace

CResponsePlot::CResponsePlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // A click or Tab gives the arrow keys to the cursor.
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel comes from paintEvent: nothing beneath needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CResponsePlot::init() {
    buildPalette();
    createBackBuffer();
    m_renderer.createDrawingObjects();
}

void CResponsePlot::buildPalette() {
    m_renderer.buildPalette();
}

void CResponsePlot::createBackBuffer() {
    m_renderer.createBackBuffer(size(), devicePixelRatioF());
}

void CResponsePlot::drawResponse(const ParameterImage& image, const ChannelResponses& responses) {
    drawView(image, plotContent(image, {}, responses, nullptr));
}

void CResponsePlot::drawView(const ParameterImage& image, const PlotContent& content) {
    const PlotSettings settings = PlotSettings::fromImage(image);
    m_renderer.drawView(settings, content);
    m_content = content;
    afterDrawing(settings);
}

void CResponsePlot::blit() {
    if (m_renderer.backBuffer().isNull()) return;
    repaint(QRect(QPoint(0, 0), m_renderer.backBufferSize()));
}

// A new drawing: new values under an unmoved cursor, or a new size or range
// that leaves it outside.
void CResponsePlot::afterDrawing(const PlotSettings& settings) {
    m_settings = settings;
    const QSize size = backBufferSize();
    const PlotAxes axes(size.width(), size.height(), settings.startHz, settings.endHz);
    m_span = size.isEmpty() ? GridSpan{} : visibleGridSpan(axes, m_grid, size.width());
    const int point = m_readout.point;
    if (point < 0) return;
    if (m_span.empty() || point < m_span.first || point > m_span.last) {
        hideCursor();
        return;
    }
    // A new size moves the plot under a mouse that stands still: the cursor
    // follows the mouse, or goes when the mouse is no longer over the plot.
    if (m_bFollowsMouse) {
        const QPoint mouse = mapFromGlobal(m_mouseGlobal);
        if (!rect().contains(mouse)) {
            hideCursor();
            return;
        }
        const PlotAxes axes(size.width(), size.height(), settings.startHz, settings.endHz);
        const int under = nearestGridPoint(axes, m_grid, m_span, size.width(), mouse.x());
        if (under != point) {
            setCursorPoint(under);
            return;
        }
    }
    updateCursorLayer();
    m_readout = cursorReadout(m_content, m_grid, point);
    placeCursorLayer();
    updateCursorLayer();
    emit readoutChanged();
}

void CResponsePlot::moveCursorToColumn(int x) {
    const QSize size = backBufferSize();
    const PlotAxes axes(size.width(), size.height(), m_settings.startHz, m_settings.endHz);
    const int point = nearestGridPoint(axes, m_grid, m_span, size.width(), x);
    if (point < 0) {
        hideCursor();
    } else {
        setCursorPoint(point);
    }
}

void CResponsePlot::setCursorPoint(int point) {
    if (m_span.empty()) {
        hideCursor();
        return;
    }
    point = std::clamp(point, m_span.first, m_span.last);
    if (point == m_readout.point) return;
    updateCursorLayer();
    m_readout = cursorReadout(m_content, m_grid, point);
    m_lastPoint = point;
    placeCursorLayer();
    updateCursorLayer();
    emit readoutChanged();
}

void CResponsePlot::hideCursor() {
    if (m_readout.point < 0) return;
    updateCursorLayer();
    m_readout = CursorReadout{};
    m_lineRect = QRect();
    m_boxRect = QRect();
    m_boxTexts.clear();
    m_boxSwatches.clear();
    emit readoutChanged();
}

void CResponsePlot::updateCursorLayer() {
    // Two rectangles, not the one around both: most of the plot between the
    // line and the box stays as it is. At a fractional pixel ratio (1.25,
    // 1.5) Qt rounds the device pixels of a rectangle differently once it
    // is merged into a region with others, so the layer's edge pixels can be
    // painted in one update and missed by the next: a margin of one logical
    // pixel takes them along.
    const qreal dpr = devicePixelRatioF();
    const int margin = dpr == std::floor(dpr) ? 0 : 1;
    for (const QRect& r : {m_lineRect, m_boxRect}) {
        if (!r.isEmpty()) update(r.adjusted(-margin, -margin, margin, margin));
    }
}

// Where the line, the box and every text and swatch in it go, once per
// move: painting then only draws.
void CResponsePlot::placeCursorLayer() {
    const QSize size = backBufferSize();
    const PlotAxes axes(size.width(), size.height(), m_settings.startHz, m_settings.endHz);
    const int x = axes.xOfHz(m_grid[m_readout.point]);
    m_lineRect = QRect(x, 1, 1, std::max(0, size.height() - 2));

    const QFont& boxFont = font();
    auto laidOut = [&](const std::string& text) {
        return m_texts.get(QString::fromStdString(text), boxFont);
    };
    auto widthOf = [](const QStaticText& t) {
        return static_cast<int>(std::ceil(t.size().width()));
    };
    const QStaticText frequency = laidOut(m_readout.frequency);
    const QStaticText heading = m_texts.get(QString::fromUtf8(DelayHeading), boxFont);
    int nameColumn = 0;
    int valueColumn = 0;
    int delayColumn = 0;  // 0: no channel, no delay column
    for (const ReadoutEntry& e : m_readout.entries) {
        nameColumn = std::max(nameColumn, widthOf(laidOut(e.name)));
        valueColumn = std::max(valueColumn, widthOf(laidOut(e.text)));
        if (!e.delay.empty()) {
            delayColumn = std::max({delayColumn, widthOf(laidOut(e.delay)), widthOf(heading)});
        }
    }
    int width = CurveSwatchSide + BoxColumnGap + nameColumn + BoxColumnGap + valueColumn;
    if (delayColumn > 0) width += BoxColumnGap + delayColumn;
    width = std::max(width, widthOf(frequency)) + 2 * BoxPadding;
    const int rowHeight = QFontMetrics(boxFont).height();
    const int rows = 1 + static_cast<int>(m_readout.entries.size());
    const int height = 2 * BoxPadding + rows * rowHeight;
    const int left =
        readoutBoxLeft(x, width, BoxCursorGap, levelLabelsRight() + BoxCursorGap, size.width());
    m_boxRect = QRect(left, 1, width, height);

    m_boxTexts.clear();
    m_boxSwatches.clear();
    const int textLeft = left + BoxPadding;
    const int nameX = textLeft + CurveSwatchSide + BoxColumnGap;
    const int valueRight = nameX + nameColumn + BoxColumnGap + valueColumn;
    const int delayRight = valueRight + BoxColumnGap + delayColumn;
    int top = m_boxRect.top() + BoxPadding;
    m_boxTexts.push_back({QPoint(textLeft, top), frequency});
    if (delayColumn > 0)
        m_boxTexts.push_back({QPoint(delayRight - widthOf(heading), top), heading});
    for (const ReadoutEntry& e : m_readout.entries) {
        top += rowHeight;
        m_boxSwatches.push_back(
            {QPoint(textLeft, top + (rowHeight - CurveSwatchSide) / 2), curveColour(e.id)});
        m_boxTexts.push_back({QPoint(nameX, top), laidOut(e.name)});
        const QStaticText value = laidOut(e.text);
        m_boxTexts.push_back({QPoint(valueRight - widthOf(value), top), value});
        if (!e.delay.empty()) {
            const QStaticText delay = laidOut(e.delay);
            m_boxTexts.push_back({QPoint(delayRight - widthOf(delay), top), delay});
        }
    }
}

int CResponsePlot::levelLabelsRight() const {
    const QFontMetrics metrics(m_renderer.labelFont());
    int right = 1;  // inside the frame
    for (const PlotLabel& label : m_renderer.lastGeometry().levelLabels) {
        right = std::max(
            right, label.topLeft.x + metrics.horizontalAdvance(QString::fromStdString(label.text)));
    }
    return right;
}

QColor CResponsePlot::curveColour(int id) const {
    return m_renderer.curvePen(id).color();
}

void CResponsePlot::paintCursorLayer(QPainter& painter) {
    inBands(m_lineRect, m_renderer.devicePixelRatio(),
            [&](const QRect& band) { painter.fillRect(band, CursorColour); });
    painter.fillRect(m_boxRect, BoxFill);
    painter.setPen(BoxInk);
    painter.drawRect(m_boxRect.adjusted(0, 0, -1, -1));
    for (const BoxText& t : m_boxTexts) painter.drawStaticText(t.topLeft, t.text);
    for (const BoxSwatch& s : m_boxSwatches) paintCurveSwatch(painter, s.topLeft, s.colour);
}

void CResponsePlot::paintEvent(QPaintEvent* event) {
    const QImage& buffer = m_renderer.backBuffer();
    QPainter painter(this);
    // The control paints every pixel itself (it is opaque): outside the back
    // buffer, if ever, the window's colour.
    const QRegion outside =
        event->region().subtracted(QRect(QPoint(0, 0), m_renderer.backBufferSize()));
    for (const QRect& r : outside) painter.fillRect(r, palette().window());
    if (buffer.isNull()) return;
    // Only what the event asks for: a cursor move repaints its old and new
    // places from the unchanged back buffer.
    for (const QRect& r : event->region()) {
        inBands(r, buffer.devicePixelRatio(),
                [&](const QRect& band) { copyFromBuffer(painter, buffer, band); });
    }
    if (m_readout.point >= 0) paintCursorLayer(painter);
}

void CResponsePlot::mouseMoveEvent(QMouseEvent* event) {
    m_bFollowsMouse = true;
    m_mouseGlobal = event->globalPosition().toPoint();
    moveCursorToColumn(static_cast<int>(event->position().x()));
    // Taken here: passed on, the main window would track it over its bars
    // and repaint the toolbar on every move.
    event->accept();
}

void CResponsePlot::leaveEvent(QEvent* event) {
    hideCursor();
    QWidget::leaveEvent(event);
}

void CResponsePlot::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int step = key == Qt::Key_Right ? 1 : -1;
    m_bFollowsMouse = false;
    if (m_readout.point >= 0) {
        setCursorPoint(m_readout.point + step);
    } else {
        // Back where it was last, or in the middle of the plot.
        setCursorPoint(m_lastPoint >= 0 ? m_lastPoint : (m_span.first + m_span.last) / 2);
    }
    event->accept();
}

void CResponsePlot::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // Reached with the keyboard, the plot shows the cursor where the arrow
    // keys will move it: that is where the focus is.
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && m_readout.point < 0 &&
        !m_span.empty()) {
        m_bFollowsMouse = false;
        setCursorPoint(m_lastPoint >= 0 ? m_lastPoint : (m_span.first + m_span.last) / 2);
    }
}

void CResponsePlot::focusOutEvent(QFocusEvent* event) {
    if (!underMouse()) hideCursor();
    QWidget::focusOutEvent(event);
}

bool CResponsePlot::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        || event->type() == QEvent::DevicePixelRatioChange
#endif
    ) {
        if (!m_renderer.backBuffer().isNull() &&
            devicePixelRatioF() != m_renderer.devicePixelRatio()) {
            emit pixelRatioChanged();
        }
    }
    return handled;
}
