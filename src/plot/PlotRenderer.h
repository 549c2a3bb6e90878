#pragma once
// Draws the response plot into a back buffer, whole frames only. Needs a
// QGuiApplication but no widget, so the plot control, filtaro-cli and the
// benchmark share this one drawing code.
//
// The plot was designed for an 8-bit back buffer with its own colour table;
// QPainter cannot paint indexed images, so the buffer is 32-bit and every
// drawing colour is first moved to its nearest colour-table entry, which
// shows exactly the colours the 8-bit buffer showed. Lines are aliased and,
// like the platform's line drawing the plot was made for, leave out their end
// pixel.
//
// On a screen with more than one device pixel per logical pixel the buffer
// holds that many more pixels: the geometry stays in logical pixels, every
// line covers exactly the device pixels of the logical pixels it covers at
// 1x, and the labels are drawn at the screen's density, so the plot is sharp
// and in proportion. At a ratio of 1 the pixels are those described above.

#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QSize>
#include <array>
#include <vector>

#include "model/ParameterImage.h"
#include "plotmodel/PlotGeometry.h"
#include "plotmodel/PlotPalette.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"
#include "response/ResponseGrid.h"

class PlotRenderer {
public:
    PlotRenderer();

    // Colour table, back buffer of `size` (logical pixels, `dpr` device
    // pixels each) and drawing objects, in that order.
    void init(QSize size, qreal dpr = 1.0);
    // The 256 colours of the table (QRgb, opaque).
    void buildPalette();
    // A new buffer with every pixel at colour-table entry 16 (black); a
    // zero or negative size leaves no buffer.
    void createBackBuffer(QSize size, qreal dpr = 1.0);
    // Pens, fill and text colours (moved onto the colour table) and the label font.
    void createDrawingObjects();

    // The whole picture from the image's plot range, channel count and shown
    // channels and the six responses. Does nothing without a buffer.
    void drawResponse(const ParameterImage& image, const ChannelResponses& responses);
    void drawResponse(const PlotSettings& settings, const ChannelResponses& responses);
    // The whole picture of a view: its level axis and the curves of
    // `content` (channels, then the sums above them).
    void drawView(const PlotSettings& settings, const PlotContent& content);
    // What the last drawing drew, for an export that repeats it exactly.
    const PlotGeometry& lastGeometry() const { return m_geometry; }
    // Paints `geometry` onto any paint device of its size (the back buffer,
    // an SVG generator) with the plot's pens, colours and font, at the
    // device's pixel ratio.
    void paint(QPainter& painter, const PlotGeometry& geometry);
    // The pen of curve `id` (a channel, or PlotSumCurve + s for a sum), its
    // width in logical pixels.
    const QPen& curvePen(int id) const;

    // In logical pixels; (0, 0) when there is no buffer.
    QSize backBufferSize() const;
    // Device pixels per logical pixel of the buffer.
    qreal devicePixelRatio() const { return m_dpr; }
    const QImage& backBuffer() const { return m_backBuffer; }
    const QList<QRgb>& colourTable() const { return m_colourTable; }
    const QFont& labelFont() const { return m_labelFont; }
    // The colour that `wanted` shows as: its nearest colour-table entry.
    QColor tableColour(PaletteColour wanted) const;

    void release();

private:
    void paintBackBuffer();
    // How wide the label font draws a text.
    PlotTextWidth labelTextWidth() const;
    // Points [first, last) of a curve's run, moved by `offset`, on a buffer
    // of more than one device pixel per logical pixel.
    void drawDenseRun(QPainter& p, const std::vector<PlotPoint>& run, std::size_t first,
                      std::size_t last, QPoint offset);

    PlotPalette m_palette{};
    QList<QRgb> m_colourTable;
    QImage m_backBuffer;
    QSize m_size;  // logical
    qreal m_dpr = 1.0;
    ResponseGrid m_grid;

    QPen m_minorPen;
    QPen m_decadePen;
    QPen m_framePen;
    std::array<QPen, ChannelCount> m_curvePens;
    std::array<QPen, SumCount> m_sumPens;  // white and black, 2 pixels wide
    QColor m_fillColour;
    QColor m_textColour;
    QFont m_labelFont;
    std::vector<QPoint> m_points;        // reused for each polyline
    std::vector<QPointF> m_densePoints;  // the same on a dense buffer
    PlotGeometry m_geometry;             // of the last drawing
};
