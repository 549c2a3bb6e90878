#include "ui/CShadeButton.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <cstring>

#include "res/Icons.h"

namespace {

// The focus frame's distance from the button's edge.
constexpr int FocusInset = 4;

ShadeColour shadeColour(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

QImage shadeFaceImage(const ShadeFace& face) {
    QImage image(face.width, face.height, QImage::Format_Indexed8);
    QList<QRgb> table;
    table.reserve(ShadePaletteSize);
    for (const ShadeQuad& q : face.palette) {
        table.append(qRgb(q.red, q.green, q.blue));
    }
    image.setColorTable(table);
    for (int y = 0; y < face.height; ++y) {
        // The face is stored bottom row first.
        const std::uint8_t* src =
            face.pixels.data() + static_cast<std::size_t>(face.height - 1 - y) * face.stride;
        std::memcpy(image.scanLine(y), src, static_cast<std::size_t>(face.width));
    }
    return image;
}

CShadeButton::CShadeButton(QWidget* parent) : QPushButton(parent) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
}

void CShadeButton::setShade(int shadeType, int granularity, int highlight, int tintAmount,
                            unsigned tintColour) {
    ShadeParams params;
    params.type = shadeType;
    params.granularity = granularity;
    params.highlight = highlight;
    params.tint = tintAmount;
    params.tintColour = {static_cast<std::uint8_t>(tintColour & 0xFF),
                         static_cast<std::uint8_t>((tintColour >> 8) & 0xFF),
                         static_cast<std::uint8_t>((tintColour >> 16) & 0xFF)};
    params.shadow = shadeColour(palette().color(QPalette::Dark));
    params.face = shadeColour(palette().color(QPalette::Button));
    params.highlightColour = shadeColour(palette().color(QPalette::Light));
    const ShadeFaces faces = buildShadeFaces(width(), height(), params);
    m_normalFace = shadeFaceImage(faces.normal);
    m_hoverFace = shadeFaceImage(faces.hover);
    update();
}

void CShadeButton::setIcon(int iconId) {
    setIcon(resourceIcon(iconId));
    setIconSize(resourcePixmap(iconId).size());
    update();
}

void CShadeButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool pressed = isDown();
    const int offset = pressed ? 1 : 0;
    const QImage& face = m_bOver ? m_hoverFace : m_normalFace;
    if (!face.isNull()) {
        painter.drawImage(offset, offset, face);
    }
    if (!icon().isNull()) {
        // The icon's picture for the density of what is painted on (the
        // screen's, or an image's the button is rendered into), placed by its
        // logical size.
        const QPixmap pixmap =
            icon().pixmap(iconSize(), painter.paintEngine()->paintDevice()->devicePixelRatioF(),
                          isEnabled() ? QIcon::Normal : QIcon::Disabled);
        const QSize size = pixmap.deviceIndependentSize().toSize();
        const int x = (width() - size.width()) / 2 + offset;
        const int y = (height() - size.height()) / 2 + offset;
        painter.drawPixmap(x, y, pixmap);
    }
    // The keyboard reaches the button only with Tab; Space then presses it,
    // so it shows where the focus is.
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(FocusInset + offset, FocusInset + offset, -FocusInset + offset,
                                     -FocusInset + offset);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    if (m_bOver || pressed) {
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        const QColor topLeft = pressed ? dark : light;
        const QColor bottomRight = pressed ? light : dark;
        const int r = width() - 1;
        const int b = height() - 1;
        painter.setPen(topLeft);
        painter.drawLine(0, 0, r, 0);
        painter.drawLine(0, 0, 0, b);
        painter.setPen(bottomRight);
        painter.drawLine(0, b, r, b);
        painter.drawLine(r, 0, r, b);
    }
}

void CShadeButton::enterEvent(QEnterEvent* event) {
    m_bOver = true;
    update();
    QPushButton::enterEvent(event);
}

void CShadeButton::leaveEvent(QEvent* event) {
    m_bOver = false;
    update();
    QPushButton::leaveEvent(event);
}

// The second click of a double click is a press like the first.
void CShadeButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}
