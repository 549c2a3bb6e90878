#include "res/Icons.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>

#include "res/ChannelColours.h"
#include "res/QtColour.h"
#include "res/ResourceIds.h"

// The artwork is the program's own: drawn here once at its resource size, so
// no picture files need to travel with the program.

namespace {

const QColor Ink(40, 48, 64);
const QColor Accent(0, 102, 178);
const QColor AccentLight(90, 170, 230);

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A loudspeaker cone facing right with two sound arcs, in a box of side s.
void drawSpeaker(QPainter& p, double s, const QColor& body, const QColor& waves) {
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    QPainterPath cone;
    cone.moveTo(0.10 * s, 0.38 * s);
    cone.lineTo(0.26 * s, 0.38 * s);
    cone.lineTo(0.50 * s, 0.16 * s);
    cone.lineTo(0.50 * s, 0.84 * s);
    cone.lineTo(0.26 * s, 0.62 * s);
    cone.lineTo(0.10 * s, 0.62 * s);
    cone.closeSubpath();
    p.drawPath(cone);
    QPen pen(waves, std::max(1.0, 0.07 * s), Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(0.36 * s, 0.30 * s, 0.28 * s, 0.40 * s), -50 * 16, 100 * 16);
    p.drawArc(QRectF(0.34 * s, 0.16 * s, 0.50 * s, 0.68 * s), -50 * 16, 100 * 16);
}

QImage programIcon(int s) {
    QImage image = blank(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, s);
    face.setColorAt(0, AccentLight);
    face.setColorAt(1, Accent);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1.0, s - 1.0), s * 0.18, s * 0.18);
    drawSpeaker(p, s, Qt::white, QColor(255, 255, 255, 220));
    return image;
}

// A device box (rounded rectangle) with an arrow into it (receive) or out of
// it (send); the arrow is the part that differs, so it is large and coloured.
QImage transferIcon(bool send) {
    constexpr int S = 32;
    QImage image = blank(S, S);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Device: a flat unit with two knobs at the bottom.
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(230, 234, 240));
    p.drawRoundedRect(QRectF(3.5, 19.5, 25, 10), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(9, 24.5), 2, 2);
    p.drawEllipse(QPointF(15, 24.5), 2, 2);
    p.setBrush(QColor(60, 190, 90));
    p.drawRect(QRectF(19.5, 23.5, 6, 2));
    // Send points down into the device, receive up out of it.
    const QColor arrow = send ? QColor(214, 80, 30) : QColor(30, 140, 60);
    QPainterPath path;
    if (send) {  // pointing down, into the device
        path.moveTo(12, 2);
        path.lineTo(20, 2);
        path.lineTo(20, 9);
        path.lineTo(25, 9);
        path.lineTo(16, 18);
        path.lineTo(7, 9);
        path.lineTo(12, 9);
    } else {  // pointing up, out of the device
        path.moveTo(16, 1);
        path.lineTo(25, 10);
        path.lineTo(20, 10);
        path.lineTo(20, 17);
        path.lineTo(12, 17);
        path.lineTo(12, 10);
        path.lineTo(7, 10);
    }
    path.closeSubpath();
    p.setPen(QPen(arrow.darker(140), 1));
    p.setBrush(arrow);
    p.drawPath(path);
    return image;
}

// Bitmap 165: the product's picture, 300 x 96: response curves in the six
// channel colours over a dark plot with the name on top.
QImage welcomePicture() {
    constexpr int W = 300;
    constexpr int H = 96;
    QImage image(W, H, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, H);
    back.setColorAt(0, QColor(20, 32, 52));
    back.setColorAt(1, QColor(6, 10, 20));
    p.fillRect(image.rect(), back);
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    for (int x = 20; x < W; x += 40) {
        p.drawLine(x, 0, x, H);
    }
    for (int y = 16; y < H; y += 16) {
        p.drawLine(0, y, W, y);
    }
    // Six band-pass shaped curves, overlapping like a crossover's channels.
    for (int c = 0; c < 6; ++c) {
        QColor colour = toQColor(ChannelColours[static_cast<std::size_t>(c)]);
        colour.setAlpha(200);
        p.setPen(QPen(colour, 1.6));
        const double centre = 30 + c * 48;
        QPainterPath curve;
        for (int x = 0; x <= W; x += 3) {
            const double d = (x - centre) / 38.0;
            const double y = 82 - 46 / (1 + d * d * d * d);
            x == 0 ? curve.moveTo(x, y) : curve.lineTo(x, y);
        }
        p.drawPath(curve);
    }
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(46);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(QRect(2, 2, W, H - 12), Qt::AlignCenter, QStringLiteral("Filtaro"));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, W, H - 12), Qt::AlignCenter, QStringLiteral("Filtaro"));
    return image;
}

// Bitmap 161: the maker's name, 120 x 20, on the welcome box's white.
QImage welcomeLogo() {
    constexpr int W = 120;
    constexpr int H = 20;
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Accent, 1.6));
    QPainterPath wave;
    for (int x = 2; x <= 20; ++x) {
        const double y = 10 - 6 * std::sin((x - 2) * 3.14159 / 6) * std::exp(-(x - 2) / 14.0);
        x == 2 ? wave.moveTo(x, y) : wave.lineTo(x, y);
    }
    p.drawPath(wave);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Ink);
    p.drawText(QRect(24, 0, W - 24, H), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Klarwelle"));
    return image;
}

// Toolbar pictures, 16 x 15, drawn on a 1-pixel grid without smoothing so
// they stay crisp at their tiny size.
QImage newPicture() {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight);
    QPainter p(&image);
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{3, 1}, {9, 1}, {12, 4}, {12, 13}, {3, 13}}));
    p.drawLine(9, 1, 9, 4);
    p.drawLine(9, 4, 12, 4);
    return image;
}

QImage openPicture() {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight);
    QPainter p(&image);
    p.setPen(Ink);
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygon({{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 12}, {1, 12}}));
    p.setBrush(QColor(250, 222, 130));
    p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {12, 12}, {1, 12}}));
    return image;
}

QImage savePicture() {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight);
    QPainter p(&image);
    p.setPen(Ink);
    p.setBrush(Accent);
    p.drawRect(1, 1, 13, 12);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 9, 7, 4);
    p.fillRect(9, 2, 1, 3, Ink);
    return image;
}

// Channel toggle c: a swatch in the channel's curve colour with its number.
QImage channelPicture(int c) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight);
    QPainter p(&image);
    const ChannelTabColours colours = channelTabColours(c);
    p.setPen(Ink);
    p.setBrush(toQColor(colours.fill));
    p.drawRect(1, 1, 13, 12);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(toQColor(colours.selectedText));
    p.drawText(QRect(1, 1, 14, 13), Qt::AlignCenter, QString::number(c + 1));
    return image;
}

// The sums' toggle: the swatch split into the two sums' colours, the sign
// in the other colour on each half.
QImage sumsPicture() {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight);
    QPainter p(&image);
    const QColor left = toQColor(SumCurveColours[0]);
    const QColor right = toQColor(SumCurveColours[1]);
    p.fillRect(1, 1, 7, 12, left);
    p.fillRect(8, 1, 7, 12, right);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const QRect cell(1, 1, 14, 13);
    const QString sign = QStringLiteral("\u03a3");
    p.setClipRect(1, 1, 7, 12);
    p.setPen(right);
    p.drawText(cell, Qt::AlignCenter, sign);
    p.setClipRect(8, 1, 7, 12);
    p.setPen(left);
    p.drawText(cell, Qt::AlignCenter, sign);
    p.setClipping(false);
    p.setPen(Ink);
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, 13, 12);
    return image;
}

QImage drawResource(int id) {
    switch (id) {
        case ProgramIconId:
            return programIcon(32);
        case ReceiveIconId:
            return transferIcon(false);
        case SendIconId:
            return transferIcon(true);
        case WelcomeLogoBitmapId:
            return welcomeLogo();
        case WelcomeBitmapId:
            return welcomePicture();
        default:
            return {};
    }
}

QImage drawToolbarButton(int index) {
    switch (index) {
        case 0:
            return newPicture();
        case 1:
            return openPicture();
        case 2:
            return savePicture();
        default:
            return channelPicture(index - 3);
    }
}

}  // namespace

// Images rather than pixmaps are cached: they need no display connection and
// may outlive the application object.
QPixmap resourcePixmap(int id) {
    static std::map<int, QImage> cache;
    auto it = cache.find(id);
    if (it == cache.end()) {
        it = cache.emplace(id, drawResource(id)).first;
    }
    return QPixmap::fromImage(it->second);
}

QIcon resourceIcon(int id) {
    QIcon icon(resourcePixmap(id));
    if (id == ProgramIconId) {
        for (int size : {16, 24, 48, 64}) {
            icon.addPixmap(QPixmap::fromImage(programIcon(size)));
        }
    }
    return icon;
}

QPixmap toolbarButtonPixmap(int index) {
    if (index < 0 || index >= ToolbarButtonCount) {
        return {};
    }
    static std::map<int, QImage> cache;
    auto it = cache.find(index);
    if (it == cache.end()) {
        it = cache.emplace(index, drawToolbarButton(index)).first;
    }
    return QPixmap::fromImage(it->second);
}

QPixmap sumsButtonPixmap() {
    static const QImage picture = sumsPicture();
    return QPixmap::fromImage(picture);
}
