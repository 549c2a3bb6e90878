#include "plot/CResponsePlot.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "plot/CurveSwatch.h"
#include "res/ChannelColours.h"

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

// The widths of the box's columns for a readout.
struct BoxColumns {
    int name = 0;
    int value = 0;
    int delay = 0;  // 0: no channel, no delay column
};

BoxColumns boxColumns(const CursorReadout& readout, const QFontMetrics& fm) {
    BoxColumns columns;
    for (const ReadoutEntry& e : readout.entries) {
        columns.name = std::max(columns.name, fm.horizontalAdvance(QString::fromStdString(e.name)));
        columns.value =
            std::max(columns.value, fm.horizontalAdvance(QString::fromStdString(e.text)));
        if (!e.delay.empty()) {
            columns.delay =
                std::max({columns.delay, fm.horizontalAdvance(QString::fromStdString(e.delay)),
                          fm.horizontalAdvance(QString::fromUtf8(DelayHeading))});
        }
    }
    return columns;
}

}  // namespace

CResponsePlot::CResponsePlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // A click gives the arrow keys to the cursor; the form's tab order stays.
    setFocusPolicy(Qt::ClickFocus);
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
    m_renderer.createBackBuffer(size());
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
    update(cursorLayerRect());
    m_readout = cursorReadout(m_content, m_grid, point);
    placeCursorLayer();
    update(cursorLayerRect());
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
    update(cursorLayerRect());
    m_readout = cursorReadout(m_content, m_grid, point);
    m_lastPoint = point;
    placeCursorLayer();
    update(cursorLayerRect());
    emit readoutChanged();
}

void CResponsePlot::hideCursor() {
    if (m_readout.point < 0) return;
    update(cursorLayerRect());
    m_readout = CursorReadout{};
    m_lineRect = QRect();
    m_boxRect = QRect();
    emit readoutChanged();
}

void CResponsePlot::placeCursorLayer() {
    const QSize size = backBufferSize();
    const PlotAxes axes(size.width(), size.height(), m_settings.startHz, m_settings.endHz);
    const int x = axes.xOfHz(m_grid[m_readout.point]);
    m_lineRect = QRect(x, 1, 1, std::max(0, size.height() - 2));

    const QFontMetrics fm(font());
    const BoxColumns columns = boxColumns(m_readout, fm);
    int width = CurveSwatchSide + BoxColumnGap + columns.name + BoxColumnGap + columns.value;
    if (columns.delay > 0) width += BoxColumnGap + columns.delay;
    width = std::max(width, fm.horizontalAdvance(QString::fromStdString(m_readout.frequency)));
    width += 2 * BoxPadding;
    const int rows = 1 + static_cast<int>(m_readout.entries.size());
    const int height = 2 * BoxPadding + rows * fm.height();
    // Right of the line where it fits, else left of it, never off the left edge.
    int left = x + BoxCursorGap;
    if (left + width > size.width() - 1) left = std::max(1, x - BoxCursorGap - width);
    m_boxRect = QRect(left, 1, width, height);
}

QColor CResponsePlot::curveColour(int id) const {
    if (id >= PlotSumCurve && id < PlotSumCurve + SumCount) {
        return m_renderer.tableColour(SumCurveColours[static_cast<std::size_t>(id - PlotSumCurve)]);
    }
    return m_renderer.tableColour(ChannelColours[static_cast<std::size_t>(id)]);
}

void CResponsePlot::paintCursorLayer(QPainter& painter) {
    painter.fillRect(m_lineRect, CursorColour);

    painter.fillRect(m_boxRect, BoxFill);
    painter.setPen(BoxInk);
    painter.drawRect(m_boxRect.adjusted(0, 0, -1, -1));
    const QFontMetrics fm(font());
    const BoxColumns columns = boxColumns(m_readout, fm);
    const int left = m_boxRect.left() + BoxPadding;
    const int nameX = left + CurveSwatchSide + BoxColumnGap;
    const int valueRight = nameX + columns.name + BoxColumnGap + columns.value;
    const int delayRight = valueRight + BoxColumnGap + columns.delay;
    int top = m_boxRect.top() + BoxPadding;
    const int rowHeight = fm.height();
    auto text = [&](int x, int width, Qt::Alignment align, const QString& s) {
        painter.drawText(QRect(x, top, width, rowHeight), align | Qt::AlignVCenter, s);
    };
    text(left, m_boxRect.width() - 2 * BoxPadding, Qt::AlignLeft,
         QString::fromStdString(m_readout.frequency));
    if (columns.delay > 0) {
        text(delayRight - columns.delay, columns.delay, Qt::AlignRight,
             QString::fromUtf8(DelayHeading));
    }
    for (const ReadoutEntry& e : m_readout.entries) {
        top += rowHeight;
        paintCurveSwatch(painter, QPoint(left, top + (rowHeight - CurveSwatchSide) / 2),
                         curveColour(e.id));
        text(nameX, columns.name, Qt::AlignLeft, QString::fromStdString(e.name));
        text(valueRight - columns.value, columns.value, Qt::AlignRight,
             QString::fromStdString(e.text));
        if (!e.delay.empty()) {
            text(delayRight - columns.delay, columns.delay, Qt::AlignRight,
                 QString::fromStdString(e.delay));
        }
    }
}

void CResponsePlot::paintEvent(QPaintEvent* event) {
    const QImage& buffer = m_renderer.backBuffer();
    if (buffer.isNull()) return;
    QPainter painter(this);
    // Only what the event asks for: a cursor move repaints its old and new
    // places from the unchanged back buffer.
    for (const QRect& r : event->region()) painter.drawImage(r.topLeft(), buffer, r);
    if (m_readout.point >= 0) paintCursorLayer(painter);
}

void CResponsePlot::mouseMoveEvent(QMouseEvent* event) {
    moveCursorToColumn(static_cast<int>(event->position().x()));
    QWidget::mouseMoveEvent(event);
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
    if (m_readout.point >= 0) {
        setCursorPoint(m_readout.point + step);
    } else {
        // Back where it was last, or in the middle of the plot.
        setCursorPoint(m_lastPoint >= 0 ? m_lastPoint : (m_span.first + m_span.last) / 2);
    }
    event->accept();
}

void CResponsePlot::focusOutEvent(QFocusEvent* event) {
    if (!underMouse()) hideCursor();
    QWidget::focusOutEvent(event);
}
