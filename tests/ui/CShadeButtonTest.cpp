#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <cstdlib>

#include "res/Icons.h"
#include "res/ResourceIds.h"
#include "support/QtTestApp.h"
#include "ui/CShadeButton.h"

namespace {

QColor pixelAt(QWidget& w, int x, int y) {
    return w.grab().toImage().pixelColor(x, y);
}

class ShadeButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        button.resize(83, 55);
        std::srand(3);
        button.setShade(7, 8, 10, 0, 0);
        button.setIcon(SendIconId);
    }
    QRgb faceColour(const QImage& face, int x, int y) { return face.pixel(x, y) | 0xFF000000u; }
    void enter() {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&button, &e);
    }
    void leave() {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &e);
    }
    void mouse(QEvent::Type type) {
        QMouseEvent e(type, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &e);
    }

    QApplication& app = qtTestApp();  // before the widget member
    CShadeButton button;
};

TEST_F(ShadeButtonTest, FacesAreBuiltOnceForTheSizeAtThatTime) {
    EXPECT_EQ(button.normalFace().size(), QSize(83, 55));
    EXPECT_EQ(button.hoverFace().size(), QSize(83, 55));
    EXPECT_EQ(button.normalFace().format(), QImage::Format_Indexed8);
    EXPECT_EQ(button.normalFace().colorCount(), 256);
    button.resize(100, 60);
    EXPECT_EQ(button.normalFace().size(), QSize(83, 55));
    // Bottom row dark, top row light: the face's first row is the picture's top.
    EXPECT_GT(qGray(faceColour(button.normalFace(), 40, 0)),
              qGray(faceColour(button.normalFace(), 40, 54)));
}

TEST_F(ShadeButtonTest, BorderOnlyUnderTheMouseRaisedAtRestSunkenWhilePressed) {
    const QRgb light = button.palette().color(QPalette::Light).rgb();
    const QRgb dark = button.palette().color(QPalette::Dark).rgb();

    // At rest: the face reaches the edges, no frame.
    EXPECT_EQ(pixelAt(button, 0, 0), faceColour(button.normalFace(), 0, 0));
    EXPECT_EQ(pixelAt(button, 82, 54), faceColour(button.normalFace(), 82, 54));

    enter();
    EXPECT_TRUE(button.isMouseOver());
    EXPECT_EQ(pixelAt(button, 0, 0), light);
    EXPECT_EQ(pixelAt(button, 40, 0), light);
    EXPECT_EQ(pixelAt(button, 82, 54), dark);
    EXPECT_EQ(pixelAt(button, 5, 20), faceColour(button.hoverFace(), 5, 20));

    button.setDown(true);
    EXPECT_EQ(pixelAt(button, 40, 0), dark);
    EXPECT_EQ(pixelAt(button, 82, 30), light);
    // The face moved one pixel right and down.
    EXPECT_EQ(pixelAt(button, 6, 21), faceColour(button.hoverFace(), 5, 20));
    button.setDown(false);

    leave();
    EXPECT_FALSE(button.isMouseOver());
    EXPECT_EQ(pixelAt(button, 40, 0), faceColour(button.normalFace(), 40, 0));
}

TEST_F(ShadeButtonTest, IconIsCentredAndGreyedWhenDisabled) {
    // Opaque pixels of the icon's picture at `dpr` that `painted` does not
    // show with their top-left corner at logical (25, 11): the icon of
    // 32 x 32 centred on 83 x 55.
    auto differing = [](const QImage& painted, qreal dpr) {
        const QImage icon = resourcePixmap(SendIconId, dpr).toImage();
        const QPoint origin = QPoint(25, 11) * dpr;
        int n = 0;
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                n += icon.pixelColor(x, y).alpha() == 255 &&
                     painted.pixelColor(origin + QPoint(x, y)) != icon.pixelColor(x, y);
            }
        }
        return n;
    };
    EXPECT_EQ(differing(button.grab().toImage(), 1), 0);
    // On a screen of two device pixels per logical pixel: the icon's own 2x
    // picture, centred at the same logical place.
    QImage dense(button.size() * 2, QImage::Format_ARGB32_Premultiplied);
    dense.setDevicePixelRatio(2);
    dense.fill(Qt::transparent);
    button.render(&dense);
    EXPECT_EQ(differing(dense, 2), 0);

    button.setEnabled(false);
    const QImage disabled = button.grab().toImage();
    int saturated = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            saturated += disabled.pixelColor(25 + x, 11 + y).hsvSaturation() > 60 ? 1 : 0;
        }
    }
    EXPECT_EQ(saturated, 0) << "a disabled button shows its icon in grey";
}

TEST_F(ShadeButtonTest, DoubleClickCountsAsASecondPress) {
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&clicks] { ++clicks; });
    mouse(QEvent::MouseButtonPress);
    mouse(QEvent::MouseButtonRelease);
    mouse(QEvent::MouseButtonDblClick);
    mouse(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 2);
}

}  // namespace
