#include "plot/PlotRenderer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>

#include "res/ChannelColours.h"
#include "res/FontFamily.h"
#include "res/QtColour.h"

namespace {

// A dotted cosmetic line: 3 pixels on, 3 off.
const QList<qreal> DotPattern{3, 3};

// One logical pixel wide. The pens are cosmetic, their widths in device
// pixels: paint() widens them by the device's pixel ratio.
QPen plotPen(const QColor& colour, Qt::PenStyle style) {
    QPen pen(colour, 1, style, Qt::FlatCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    return pen;
}

// A measurement is dotted, the result predicted from it dashed: unlike the
// grid's dotted lines (3 on, 3 off, white) they are in the channel's
// colour, and the dots are shorter than the grid's.
const QList<qreal> MeasurementPattern{2, 4};
const QList<qreal> PredictionPattern{8, 4};
// What an open dialog would bring about carries a dot between its dashes:
// the overlay's prediction may be on at the same time, in the same colour.
const QList<qreal> ProposalPattern{8, 3, 2, 3};

QPen strokePen(const QPen& pen, CurveStroke stroke, bool proposal) {
    if (stroke == CurveStroke::Solid) return pen;
    QPen stroked = pen;
    stroked.setStyle(Qt::CustomDashLine);
    stroked.setDashPattern(stroke == CurveStroke::Dotted ? MeasurementPattern
                           : proposal                    ? ProposalPattern
                                                         : PredictionPattern);
    return stroked;
}

// The label font's weight asks for the thinnest face; where the family has
// none, the regular face stands in.
QFont makeLabelFont() {
    QFont font(resolveFontFamily("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Thin);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStyleStrategy(QFont::NoAntialias);
    // The height is the character cell (ascent + descent), not the em size.
    QFont probe = font;
    probe.setPixelSize(100);
    const qreal cell = QFontMetricsF(probe).height();
    const int em = cell > 0 ? static_cast<int>(std::lround(PlotLabelCellHeight * 100 / cell))
                            : PlotLabelCellHeight;
    font.setPixelSize(em > 0 ? em : PlotLabelCellHeight);
    // From here on the font asks for the weight of the face that draws it:
    // the same face on the screen, and an SVG names that weight instead of a
    // thin one its viewer might pick or fake.
    // (QFontInfo repeats the weight asked for; the face's style tells.)
    const QFontInfo drawn(font);
    if (const int weight = QFontDatabase::weight(drawn.family(), drawn.styleName()); weight > 0) {
        font.setWeight(static_cast<QFont::Weight>(weight));
    }
    return font;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

// A line from `from` towards `to` without the pixel at `to`. QPainter leaves
// out the end with the larger coordinate whatever the direction, so a line
// drawn right to left or bottom to top is handed over shifted by one pixel:
// that keeps the first pixel and drops the last, as the frame's corners need.
void drawLineToEnd(QPainter& p, const PlotLine& l) {
    const int dx = sign(l.to.x - l.from.x);
    const int dy = sign(l.to.y - l.from.y);
    if (dx < 0 || (dx == 0 && dy < 0)) {
        p.drawLine(l.to.x - dx, l.to.y - dy, l.from.x - dx, l.from.y - dy);
    } else {
        p.drawLine(l.from.x, l.from.y, l.to.x, l.to.y);
    }
}

// The same on a buffer of more than one device pixel per logical pixel: the
// line runs through the middle of its logical pixels, so a pen of one logical
// pixel with flat ends covers exactly the device pixels of the logical pixels
// the line covers at 1x: [from, to) along it, or (to, from] when it runs
// backwards. The grid's lines are all horizontal or vertical; a slanted one
// (a curve's) is centred the same way.
void drawDenseLineToEnd(QPainter& p, const PlotLine& l) {
    const qreal backward = (l.to.x < l.from.x || l.to.y < l.from.y) ? 1 : 0;
    QPointF a(l.from.x, l.from.y);
    QPointF b(l.to.x, l.to.y);
    const QPointF shift = l.from.x == l.to.x   ? QPointF(0.5, backward)
                          : l.from.y == l.to.y ? QPointF(backward, 0.5)
                                               : QPointF(0.5, 0.5);
    p.drawLine(QLineF(a + shift, b + shift));
}

// The part [first, last) of a run that can touch the buffer. The grid rises
// in frequency, so x never falls along a run: a segment with both ends left
// of column 0 or both right of the last column shows nothing, and most of
// the 1999 points lie far right of the axis.
std::pair<std::size_t, std::size_t> visibleSpan(const std::vector<PlotPoint>& run, int width) {
    std::size_t first = 0;
    std::size_t last = run.size();
    while (first + 1 < last && run[first + 1].x < 0) ++first;
    while (last > first + 1 && run[last - 2].x >= width) --last;
    return {first, last};
}

}  // namespace

PlotRenderer::PlotRenderer() {
    buildPalette();
}

void PlotRenderer::init(QSize size, qreal dpr) {
    buildPalette();
    createBackBuffer(size, dpr);
    createDrawingObjects();
}

void PlotRenderer::buildPalette() {
    m_palette = buildPlotPalette();
    m_colourTable.clear();
    m_colourTable.reserve(PlotPaletteSize);
    for (const PaletteColour& c : m_palette) m_colourTable.push_back(qRgb(c.red, c.green, c.blue));
}

QColor PlotRenderer::tableColour(PaletteColour wanted) const {
    return toQColor(m_palette[static_cast<std::size_t>(nearestPaletteIndex(m_palette, wanted))]);
}

void PlotRenderer::createBackBuffer(QSize size, qreal dpr) {
    m_backBuffer = QImage();
    m_size = QSize();
    m_dpr = dpr > 0 ? dpr : 1.0;
    if (size.width() <= 0 || size.height() <= 0) return;
    const QSize device(static_cast<int>(std::ceil(size.width() * m_dpr)),
                       static_cast<int>(std::ceil(size.height() * m_dpr)));
    m_backBuffer = QImage(device, QImage::Format_RGB32);
    if (m_backBuffer.isNull()) return;  // too large to allocate: no buffer
    m_backBuffer.setDevicePixelRatio(m_dpr);
    m_backBuffer.fill(m_colourTable.value(PlotPaletteInitialIndex));
    m_size = size;
}

void PlotRenderer::createDrawingObjects() {
    const QColor white = tableColour({255, 255, 255});
    m_minorPen = plotPen(white, Qt::CustomDashLine);
    m_minorPen.setDashPattern(DotPattern);
    m_decadePen = plotPen(white, Qt::SolidLine);
    m_framePen = plotPen(tableColour({0, 0, 0}), Qt::SolidLine);
    for (std::size_t c = 0; c < m_curvePens.size(); ++c) {
        m_curvePens[c] = plotPen(tableColour(ChannelColours[c]), Qt::SolidLine);
    }
    // The sums lie above the channels and must not pass for grid lines (white)
    // or the frame (black): twice as wide.
    for (std::size_t s = 0; s < m_sumPens.size(); ++s) {
        m_sumPens[s] = plotPen(tableColour(SumCurveColours[s]), Qt::SolidLine);
        m_sumPens[s].setWidth(SumCurveWidth);
    }
    m_fillColour = tableColour({128, 128, 128});
    m_textColour = tableColour({0, 0, 0});
    m_labelFont = makeLabelFont();
}

QSize PlotRenderer::backBufferSize() const {
    return m_backBuffer.isNull() ? QSize(0, 0) : m_size;
}

void PlotRenderer::release() {
    m_backBuffer = QImage();
    m_size = QSize();
}

void PlotRenderer::drawResponse(const ParameterImage& image, const ChannelResponses& responses) {
    drawResponse(PlotSettings::fromImage(image), responses);
}

void PlotRenderer::drawResponse(const PlotSettings& settings, const ChannelResponses& responses) {
    if (m_backBuffer.isNull()) return;
    m_geometry = computePlotGeometry(m_size.width(), m_size.height(), settings, m_grid, responses,
                                     labelTextWidth());
    paintBackBuffer();
}

void PlotRenderer::drawView(const PlotSettings& settings, const PlotContent& content) {
    if (m_backBuffer.isNull()) return;
    m_geometry = computeViewGeometry(m_size.width(), m_size.height(), settings, m_grid, content,
                                     labelTextWidth());
    paintBackBuffer();
}

PlotTextWidth PlotRenderer::labelTextWidth() const {
    return [metrics = QFontMetrics(m_labelFont)](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    };
}

void PlotRenderer::paintBackBuffer() {
    QPainter p(&m_backBuffer);
    paint(p, m_geometry);
}

const QPen& PlotRenderer::curvePen(int id) const {
    if (id >= PlotSumCurve && id < PlotSumCurve + SumCount) {
        return m_sumPens[static_cast<std::size_t>(id - PlotSumCurve)];
    }
    return m_curvePens[static_cast<std::size_t>(id)];
}

void PlotRenderer::paint(QPainter& p, const PlotGeometry& g) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(m_labelFont);
    const qreal ascent = QFontMetricsF(m_labelFont).ascent();

    const QPaintDevice* device = p.device();
    const qreal dpr = device ? device->devicePixelRatio() : 1.0;
    const bool dense = dpr != 1.0;
    // A pen of w logical pixels is w * dpr device pixels (a dash pattern
    // counts in widths, so the dots keep their logical length too).
    auto setPen = [&p, dpr, dense](const QPen& pen) {
        if (!dense) {
            p.setPen(pen);
            return;
        }
        QPen wide = pen;
        wide.setWidthF(pen.widthF() * dpr);
        p.setPen(wide);
    };
    auto line = [&p, dense](const PlotLine& l) {
        dense ? drawDenseLineToEnd(p, l) : drawLineToEnd(p, l);
    };
    // Labels are given by the top-left corner of their cell; transparent, so
    // the lines beneath stay visible.
    auto label = [&](const PlotLabel& l) {
        p.setPen(m_textColour);
        p.drawText(QPointF(l.topLeft.x, l.topLeft.y + ascent), QString::fromStdString(l.text));
    };

    if (dense) {
        // Every device pixel, also a last one that a fractional ratio leaves
        // beyond the logical size.
        p.fillRect(QRectF(0, 0, device->width() / dpr, device->height() / dpr), m_fillColour);
    } else {
        p.fillRect(0, 0, g.width, g.height, m_fillColour);
    }

    setPen(m_framePen);
    for (const PlotLine& l : g.frame) line(l);

    setPen(m_decadePen);
    for (const PlotLine& l : g.decadeLines) line(l);
    for (const PlotLabel& l : g.decadeLabels) label(l);
    for (const PlotLabel& l : g.rangeLabels) label(l);

    setPen(m_minorPen);
    for (const PlotLine& l : g.minorLines) line(l);

    for (std::size_t i = 0; i < g.levelLines.size(); ++i) {
        label(g.levelLabels[i]);
        setPen(m_decadePen);
        line(g.levelLines[i]);
    }

    // Curves last, so they lie on the grid: first the measurements and their
    // predictions, then the model's curves (later channels cover earlier
    // ones), then what an open dialog shows.
    // In a raster a wide curve is its thin line drawn again one pixel right
    // and one pixel down: the same pixels as a stroke two pixels wide, at a
    // fraction of the cost of stroking the outline.
    static const std::array<QPoint, 3> wideOffsets{QPoint(0, 0), QPoint(1, 0), QPoint(0, 1)};
    const bool raster = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
    auto drawCurve = [&](const PlotCurve& curve, bool preview) {
        QPen pen = strokePen(curvePen(curve.channel), curve.stroke, preview);
        std::size_t copies = 1;
        if (raster && pen.width() > 1) {
            copies = wideOffsets.size();
            pen.setWidth(1);
        }
        setPen(pen);
        for (const auto& run : curve.runs) {
            const auto [first, last] = visibleSpan(run, g.width);
            if (first >= last) continue;
            for (std::size_t k = 0; k < copies; ++k) {
                const QPoint offset = wideOffsets[k];
                if (dense) {
                    drawDenseRun(p, run, first, last, offset);
                    continue;
                }
                m_points.clear();
                for (std::size_t i = first; i < last; ++i) {
                    m_points.emplace_back(run[i].x + offset.x(), run[i].y + offset.y());
                }
                if (m_points.size() == 1) m_points.push_back(m_points.front());
                p.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
            }
        }
    };
    for (const PlotCurve& curve : g.overlays) drawCurve(curve, false);
    for (const PlotCurve& curve : g.curves) drawCurve(curve, false);
    for (const PlotCurve& curve : g.previews) drawCurve(curve, true);
}

// Through the middle of its logical pixels, as drawDenseLineToEnd() draws.
void PlotRenderer::drawDenseRun(QPainter& p, const std::vector<PlotPoint>& run, std::size_t first,
                                std::size_t last, QPoint offset) {
    if (last - first == 1) {  // a lone point: its logical pixel
        p.fillRect(QRectF(run[first].x + offset.x(), run[first].y + offset.y(), 1, 1),
                   p.pen().color());
        return;
    }
    m_densePoints.clear();
    for (std::size_t i = first; i < last; ++i) {
        m_densePoints.emplace_back(run[i].x + offset.x() + 0.5, run[i].y + offset.y() + 0.5);
    }
    p.drawPolyline(m_densePoints.data(), static_cast<int>(m_densePoints.size()));
}
