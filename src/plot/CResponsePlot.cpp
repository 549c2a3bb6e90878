#include "plot/CResponsePlot.h"

#include <QEvent>
#include <QPainter>

CResponsePlot::CResponsePlot(QWidget* parent) : QWidget(parent) {}

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
    m_renderer.drawResponse(image, responses);
}

void CResponsePlot::blit() {
    if (m_renderer.backBuffer().isNull()) return;
    repaint(QRect(QPoint(0, 0), m_renderer.backBufferSize()));
}

void CResponsePlot::paintEvent(QPaintEvent*) {
    const QImage& buffer = m_renderer.backBuffer();
    if (buffer.isNull()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), buffer);
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
