#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "res/Icons.h"
#include "res/ResourceIds.h"

namespace {

void guiApp() {
    if (QCoreApplication::instance() == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "filtaro-test";
        static char* argv[] = {name, nullptr};
        static QGuiApplication* app = new QGuiApplication(argc, argv);
        (void)app;
    }
}

// How far a picture drawn at `dpr` departs from the one drawn at 1x once it
// is averaged back down to 1x: the mean difference per colour channel.
double departureFromOneX(const QImage& oneX, const QImage& dense) {
    const QImage down = dense.scaled(oneX.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_ARGB32);
    const QImage base = oneX.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = 0; y < base.height(); ++y) {
        for (int x = 0; x < base.width(); ++x) {
            const QColor a = base.pixelColor(x, y);
            const QColor b = down.pixelColor(x, y);
            sum += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                   std::abs(a.blue() - b.blue()) + std::abs(a.alpha() - b.alpha());
        }
    }
    return sum / (4.0 * base.width() * base.height());
}

TEST(Icons, EveryPictureIsDrawnAtTheScreensPixelRatioInProportion) {
    guiApp();
    // The smooth pictures land within a few levels of their 1x picture; the
    // toolbar's 1-pixel strokes move by up to half a logical pixel (drawn
    // 1 pixel off, they would depart by about 40, drawn unscaled by 80 to 100).
    struct Picture {
        const char* name;
        QPixmap (*draw)(qreal dpr);
        double tolerance;
    };
    const Picture pictures[] = {
        {"send", [](qreal dpr) { return resourcePixmap(SendIconId, dpr); }, 6},
        {"welcome", [](qreal dpr) { return resourcePixmap(WelcomeBitmapId, dpr); }, 6},
        {"logo", [](qreal dpr) { return resourcePixmap(WelcomeLogoBitmapId, dpr); }, 6},
        {"save", [](qreal dpr) { return toolbarButtonPixmap(2, dpr); }, 34},
        {"channel 5", [](qreal dpr) { return toolbarButtonPixmap(7, dpr); }, 34},
        {"sums", [](qreal dpr) { return toolbarButtonPixmap(11, dpr); }, 34},
    };
    for (const Picture& p : pictures) {
        const QPixmap oneX = p.draw(1.0);
        ASSERT_FALSE(oneX.isNull()) << p.name;
        EXPECT_EQ(oneX.devicePixelRatio(), 1.0);
        for (qreal dpr : {1.5, 2.0}) {
            const QPixmap dense = p.draw(dpr);
            EXPECT_EQ(dense.devicePixelRatio(), dpr) << p.name;
            EXPECT_EQ(dense.deviceIndependentSize().toSize(), oneX.size()) << p.name;
            EXPECT_EQ(dense.size(), oneX.size() * dpr) << p.name;
            // Drawn anew, not blown up, yet the same picture in the same place.
            const QImage blownUp = oneX.toImage().scaled(dense.size());
            EXPECT_NE(dense.toImage().convertToFormat(blownUp.format()), blownUp) << p.name;
            EXPECT_LT(departureFromOneX(oneX.toImage(), dense.toImage()), p.tolerance)
                << p.name << " at " << dpr;
        }
    }
}

TEST(Icons, IconsHandTheScreenThePictureOfItsPixelRatio) {
    guiApp();
    for (qreal dpr : {1.0, 1.5, 2.0}) {
        const QPixmap send = resourceIcon(SendIconId).pixmap(QSize(32, 32), dpr);
        EXPECT_EQ(send.size(), QSize(32, 32) * dpr);
        EXPECT_EQ(send.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  resourcePixmap(SendIconId, dpr).toImage())
            << dpr;
        const QPixmap button = toolbarButtonIcon(0).pixmap(QSize(16, 15), dpr);
        EXPECT_EQ(button.size(), QSize(16, 15) * dpr);
    }
    EXPECT_FALSE(toolbarButtonIcon(11).isNull());  // the sums' toggle, the last button
    EXPECT_TRUE(toolbarButtonIcon(ToolbarButtonCount).isNull());
    EXPECT_TRUE(toolbarButtonPixmap(-1).isNull());
}

}  // namespace
