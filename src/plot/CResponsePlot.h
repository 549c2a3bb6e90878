#pragma once
// The response plot control of the main view (control 1123). It never draws
// the curves on the screen directly: drawResponse / drawView render a whole
// frame into the back buffer and blit / paint only copy that buffer, so the
// screen never shows a half-drawn plot.
//
// The owner drives it:
//   plot.init();                                  // at start-up and after each resize
//   plot.drawView(*m_pImage, content);            // whenever redrawPending is 1
//   plot.blit();
// init() reads the control's current size and the screen's pixel density; a
// paint request only copies the last frame. With no buffer (zero size) blit
// and paint do nothing.
//
// The cursor layer lies over the copied frame and is never part of the back
// buffer: while the mouse is over the plot, a thin vertical line marks the
// grid point nearest to it, and a box at the top edge lists that point's
// frequency and the value of every drawn curve, read from the curves of the
// last drawing (nothing is recomputed). A mouse move repaints only the
// cursor layer's old and new places from the unchanged back buffer. With the
// keyboard focus (a click or Tab, which shows the cursor), Left and Right
// move the cursor from grid point to grid point. The mouse leaving the plot's
// rectangle hides it, also when the plot moves away under a mouse that stands
// still (a resize); the box never covers the level labels.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QWidget>
#include <vector>

#include "model/ParameterImage.h"
#include "plot/PlotRenderer.h"
#include "plot/StaticTextCache.h"
#include "plotmodel/CursorReadout.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"

class CResponsePlot : public QWidget {
    Q_OBJECT

public:
    explicit CResponsePlot(QWidget* parent = nullptr);

    // buildPalette, createBackBuffer, then the pens and the font.
    void init();
    void buildPalette();
    // A back buffer of the control's current size at the screen's pixel
    // density, all black.
    void createBackBuffer();
    // The magnitude plot of the six channels.
    void drawResponse(const ParameterImage& image, const ChannelResponses& responses);
    // The plot of a view. The readout reads the curves of `content`, which
    // must stay unchanged until the next drawing.
    void drawView(const ParameterImage& image, const PlotContent& content);
    // Copies the whole back buffer to the screen now.
    void blit();
    // (0, 0) when there is no buffer.
    QSize backBufferSize() const { return m_renderer.backBufferSize(); }
    const QImage& backBuffer() const { return m_renderer.backBuffer(); }
    const PlotRenderer& renderer() const { return m_renderer; }
    PlotRenderer& renderer() { return m_renderer; }

    // --- The cursor ----------------------------------------------------------
    // The grid point under the cursor, -1 while it is hidden.
    int cursorPoint() const { return m_readout.point; }
    const CursorReadout& readout() const { return m_readout; }
    // Shows the cursor at the grid point nearest to column `x`, or at grid
    // point `point` (kept inside the plot's frequency range).
    void moveCursorToColumn(int x);
    void setCursorPoint(int point);
    void hideCursor();
    // Where the cursor layer lies now (line and box); empty while hidden.
    QRect cursorLayerRect() const { return m_lineRect.united(m_boxRect); }
    // The colour curve `id` is drawn in.
    QColor curveColour(int id) const;

signals:
    // The readout changed (moved, new values, hidden).
    void readoutChanged();
    // The control moved to a screen of another pixel density: its buffer
    // needs init() and a new drawing.
    void pixelRatioChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void afterDrawing(const PlotSettings& settings);
    void placeCursorLayer();
    void updateCursorLayer();
    void paintCursorLayer(QPainter& painter);
    // The first column right of the level labels of the last drawing.
    int levelLabelsRight() const;

    struct BoxText {
        QPoint topLeft;
        QStaticText text;
    };
    struct BoxSwatch {
        QPoint topLeft;
        QColor colour;
    };

    PlotRenderer m_renderer;
    ResponseGrid m_grid;
    PlotSettings m_settings;
    PlotContent m_content;
    GridSpan m_span;  // the grid points inside the plot
    CursorReadout m_readout;
    QRect m_lineRect;
    QRect m_boxRect;
    std::vector<BoxText> m_boxTexts;
    std::vector<BoxSwatch> m_boxSwatches;
    StaticTextCache m_texts;
    int m_lastPoint = -1;          // where the arrow keys start when the cursor is hidden
    bool m_bFollowsMouse = false;  // placed by the mouse, not the keys
    QPoint m_mouseGlobal;          // where the mouse was last seen over the plot
};
