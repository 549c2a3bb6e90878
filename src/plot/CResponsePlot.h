#pragma once
// The response plot control of the main view (control 1123). It never draws
// on the screen directly: drawResponse renders a whole frame into the back
// buffer and blit / paint only copy that buffer, so the screen never shows a
// half-drawn plot.
//
// The owner drives it:
//   plot.init();                                  // at start-up and after each resize
//   plot.drawResponse(*m_pImage, m_responses);    // whenever redrawPending is 1
//   plot.blit();
// init() reads the control's current size and the screen's pixel density; a
// paint request only copies the last frame. With no buffer (zero size) blit
// and paint do nothing.

#include <QImage>
#include <QWidget>

#include "model/ParameterImage.h"
#include "plot/CPlotRenderer.h"
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
    void drawResponse(const ParameterImage& image, const ChannelResponses& responses);
    // Copies the whole back buffer to the screen now.
    void blit();
    // (0, 0) when there is no buffer.
    QSize backBufferSize() const { return m_renderer.backBufferSize(); }
    const QImage& backBuffer() const { return m_renderer.backBuffer(); }
    const CPlotRenderer& renderer() const { return m_renderer; }

signals:
    // The control moved to a screen of another pixel density: its buffer
    // needs init() and a new drawing.
    void pixelRatioChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    CPlotRenderer m_renderer;
};
