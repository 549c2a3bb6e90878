#include "res/Icons.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <utility>

#include "res/ChannelColours.h"
#include "res/QtColour.h"
#include "res/ResourceIds.h"

// The artwork is the program's own: drawn here once at its resource size, so
// no picture files need to travel with the program.

namespace {

const QColor Ink(40, 48, 64);
const QColor Accent(0, 102, 178);
const QColor AccentLight(90, 170, 230);

// A picture of w x h logical pixels for a screen of `dpr` device pixels per
// logical pixel: the painter scales, so every drawing below is written in
// logical pixels and stays sharp on a high-density screen.
QImage canvas(int w, int h, qreal dpr, QImage::Format format) {
    QImage image(static_cast<int>(std::ceil(w * dpr)), static_cast<int>(std::ceil(h * dpr)),
                 format);
    image.setDevicePixelRatio(dpr);
    return image;
}

QImage blank(int w, int h, qreal dpr) {
    QImage image = canvas(w, h, dpr, QImage::Format_ARGB32_Premultiplied);
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

QImage programIcon(int s, qreal dpr = 1) {
    QImage image = blank(s, s, dpr);
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
QImage transferIcon(bool send, qreal dpr) {
    constexpr int S = 32;
    QImage image = blank(S, S, dpr);
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
QImage welcomePicture(qreal dpr) {
    constexpr int W = 300;
    constexpr int H = 96;
    QImage image = canvas(W, H, dpr, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, H);
    back.setColorAt(0, QColor(20, 32, 52));
    back.setColorAt(1, QColor(6, 10, 20));
    p.fillRect(QRect(0, 0, W, H), back);
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
QImage welcomeLogo(qreal dpr) {
    constexpr int W = 120;
    constexpr int H = 20;
    QImage image = canvas(W, H, dpr, QImage::Format_RGB32);
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
QImage newPicture(qreal dpr) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight, dpr);
    QPainter p(&image);
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({{3, 1}, {9, 1}, {12, 4}, {12, 13}, {3, 13}}));
    p.drawLine(9, 1, 9, 4);
    p.drawLine(9, 4, 12, 4);
    return image;
}

QImage openPicture(qreal dpr) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight, dpr);
    QPainter p(&image);
    p.setPen(Ink);
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygon({{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 12}, {1, 12}}));
    p.setBrush(QColor(250, 222, 130));
    p.drawPolygon(QPolygon({{3, 7}, {15, 7}, {12, 12}, {1, 12}}));
    return image;
}

QImage savePicture(qreal dpr) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight, dpr);
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
QImage channelPicture(int c, qreal dpr) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight, dpr);
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

// The sums' toggle: the sign on the plot's grey, its left half in the colour
// of sum L and its right half in that of sum R, as the two curves are drawn.
QImage sumsPicture(qreal dpr) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight, dpr);
    QPainter p(&image);
    p.fillRect(1, 1, 14, 13, QColor(128, 128, 128));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    const QRect cell(1, 1, 14, 13);
    const QString sign = QStringLiteral("\u03a3");
    p.setClipRect(1, 1, 7, 13);
    p.setPen(toQColor(SumCurveColours[0]));
    p.drawText(cell, Qt::AlignCenter, sign);
    p.setClipRect(8, 1, 7, 13);
    p.setPen(toQColor(SumCurveColours[1]));
    p.drawText(cell, Qt::AlignCenter, sign);
    p.setClipping(false);
    p.setPen(Ink);
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, 13, 12);
    return image;
}

// Undo and redo: a bent arrow, turning back to the left for undo and on to
// the right for redo (the redo picture is the undo picture mirrored).
QImage undoPicture(qreal dpr) {
    QImage image = blank(ToolbarButtonWidth, ToolbarButtonHeight, dpr);
    QPainter p(&image);
    // The shaft: from the arrow's head to the right, round, and back down.
    QPen shaft(Accent, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(shaft);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(6, 5);
    path.lineTo(9, 5);
    path.arcTo(QRectF(5, 5, 8, 7), 90, -180);
    path.lineTo(5, 12);
    p.drawPath(path);
    // The head, pointing left.
    p.setPen(Ink);
    p.setBrush(Accent);
    p.drawPolygon(QPolygon({{1, 5}, {6, 0}, {6, 10}}));
    return image;
}

QImage redoPicture(qreal dpr) {
    return undoPicture(dpr).mirrored(true, false);
}

QImage drawResource(int id, qreal dpr) {
    switch (id) {
        case ProgramIconId:
            return programIcon(32, dpr);
        case ReceiveIconId:
            return transferIcon(false, dpr);
        case SendIconId:
            return transferIcon(true, dpr);
        case WelcomeLogoBitmapId:
            return welcomeLogo(dpr);
        case WelcomeBitmapId:
            return welcomePicture(dpr);
        default:
            return {};
    }
}

QImage drawToolbarButton(int index, qreal dpr) {
    switch (index) {
        case 0:
            return newPicture(dpr);
        case 1:
            return openPicture(dpr);
        case 2:
            return savePicture(dpr);
        case 9:
            return undoPicture(dpr);
        case 10:
            return redoPicture(dpr);
        case 11:
            return sumsPicture(dpr);
        default:
            return channelPicture(index - 3, dpr);
    }
}

// A picture drawn once per resource and pixel ratio.
template <class Draw>
QPixmap cachedPixmap(std::map<std::pair<int, qreal>, QImage>& cache, int key, qreal dpr,
                     Draw draw) {
    auto it = cache.find({key, dpr});
    if (it == cache.end()) {
        it = cache.emplace(std::pair{key, dpr}, draw(key, dpr)).first;
    }
    return QPixmap::fromImage(it->second);
}

// An icon that holds its picture for each of the usual pixel ratios; Qt
// picks the one a screen needs (and scales the nearest larger one for others).
template <class Draw>
QIcon iconAtEveryRatio(Draw draw) {
    QIcon icon;
    for (qreal dpr : IconPixelRatios) {
        icon.addPixmap(draw(dpr));
    }
    return icon;
}

}  // namespace

// Images rather than pixmaps are cached: they need no display connection and
// may outlive the application object.
QPixmap resourcePixmap(int id, qreal dpr) {
    static std::map<std::pair<int, qreal>, QImage> cache;
    return cachedPixmap(cache, id, dpr, drawResource);
}

QIcon resourceIcon(int id) {
    if (id != ProgramIconId) {
        return iconAtEveryRatio([id](qreal dpr) { return resourcePixmap(id, dpr); });
    }
    // The window manager and the desktop ask for sizes in device pixels.
    QIcon icon(resourcePixmap(id));
    for (int size : {16, 24, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(programIcon(size)));
    }
    return icon;
}

QImage programIconImage(int pixels) {
    return programIcon(pixels);
}

QPixmap toolbarButtonPixmap(int index, qreal dpr) {
    if (index < 0 || index >= ToolbarButtonCount) {
        return {};
    }
    static std::map<std::pair<int, qreal>, QImage> cache;
    return cachedPixmap(cache, index, dpr, drawToolbarButton);
}

QIcon toolbarButtonIcon(int index) {
    if (index < 0 || index >= ToolbarButtonCount) {
        return {};
    }
    return iconAtEveryRatio([index](qreal dpr) { return toolbarButtonPixmap(index, dpr); });
}
