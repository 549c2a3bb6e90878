#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QRegion>
#include <QSet>
#include <limits>

#include "plot/CPlotRenderer.h"
#include "plot/CResponsePlot.h"
#include "support/QtTestApp.h"

namespace {

constexpr QRgb Grey = 0xff808080;
constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;

ParameterImage defaults() {
    ParameterImage image;
    applyDefaults(image);
    return image;
}

QImage render(const ParameterImage& image, const ChannelResponses& r = {},
              QSize size = {800, 331}) {
    qtTestApp();
    CPlotRenderer renderer;
    renderer.init(size);
    renderer.drawResponse(image, r);
    return renderer.backBuffer();
}

QRgb at(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xff000000;
}

TEST(CPlotRenderer, GridOfTheExampleBackBuffer) {
    ParameterImage image = defaults();
    image.setSixChannels(2);  // no curves: only the grid
    const QImage img = render(image);
    ASSERT_EQ(img.size(), QSize(800, 331));
    EXPECT_EQ(at(img, 300, 50), Grey);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {799, 330}, {0, 330}, {400, 0}, {0, 200}}) {
        EXPECT_EQ(at(img, x, y), Black) << x << "," << y;
    }
    // Decade lines at 186, 453 and 719 run from y = 1 to h - 2.
    for (int x : {186, 453, 719}) {
        EXPECT_EQ(at(img, x, 1), White) << x;
        EXPECT_EQ(at(img, x, 250), White) << x;
        EXPECT_EQ(at(img, x, 329), White) << x;
        EXPECT_EQ(at(img, x + 1, 250), Grey) << x;
    }
    // Level lines from x = 1 to w - 2; the end pixel is not drawn over the frame.
    for (int y : {1, 34, 67, 100, 133, 298}) {
        EXPECT_EQ(at(img, 300, y), White) << y;
        EXPECT_EQ(at(img, 798, y), White) << y;
        EXPECT_EQ(at(img, 799, y), Black) << y;
    }
    EXPECT_EQ(at(img, 300, 99), Grey);
    // Minor lines are dotted, 3 on and 3 off, from y = 1: 200 Hz at x = 266.
    for (int y = 1; y <= 12; ++y) {
        EXPECT_EQ(at(img, 266, y), ((y - 1) / 3) % 2 == 0 ? White : Grey) << y;
    }
}

TEST(CPlotRenderer, EveryPixelIsAColourTableEntryAndLabelsAreTransparent) {
    qtTestApp();
    CPlotRenderer renderer;
    renderer.init({800, 331});
    ChannelResponses r{};
    for (int j = 0; j < ResponsePointCount; ++j) {
        r[3].db[static_cast<std::size_t>(j)] = static_cast<float>(j % 40) - 20.0f;
    }
    renderer.drawResponse(defaults(), r);
    const QImage& img = renderer.backBuffer();
    QSet<QRgb> table;
    for (QRgb c : renderer.colourTable()) table.insert(c | 0xff000000);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            ASSERT_TRUE(table.contains(at(img, x, y))) << x << "," << y;
    }
    // The "-25" label's cell at (3, 265): black text on the grey fill, no
    // background box; the level line above it is the only white.
    int black = 0;
    for (int y = 266; y < 265 + PlotLabelCellHeight; ++y) {
        for (int x = 3; x < 15; ++x) {
            const QRgb c = at(img, x, y);
            black += c == Black;
            EXPECT_TRUE(c == Black || c == Grey) << x << "," << y;
        }
    }
    EXPECT_GT(black, 5);
    // "100Hz" sits right of its decade line, in the bottom 15 rows.
    black = 0;
    for (int y = 316; y < 330; ++y) {
        for (int x = 189; x < 225; ++x) black += at(img, x, y) == Black;
    }
    EXPECT_GT(black, 10);
}

TEST(CPlotRenderer, ARangeWithoutDecadesShowsItsEndsInTheBottomCorners) {
    ParameterImage image = defaults();
    image.setPlotStartHz(10000);
    image.setPlotEndHz(20000);
    const QImage img = render(image);
    auto blackIn = [&img](int x0, int x1) {
        int n = 0;
        for (int y = 316; y < 330; ++y) {
            for (int x = x0; x < x1; ++x) n += at(img, x, y) == Black;
        }
        return n;
    };
    EXPECT_GT(blackIn(3, 60), 10) << "10000Hz";
    EXPECT_GT(blackIn(740, 796), 10) << "20000Hz";
    EXPECT_EQ(blackIn(100, 700), 0);
}

// On a screen of 2 or 1.5 device pixels per logical pixel the buffer has
// that many more pixels; every line covers exactly the device pixels of its
// logical pixels at 1x; only the labels differ, drawn at the finer density.
TEST(CPlotRenderer, ADenseBufferIsTheOneXPictureInProportionWithSharperLabels) {
    qtTestApp();
    ParameterImage image = defaults();
    for (int c = 1; c < 6; ++c) image.setChannelShown(c, 0);
    ChannelResponses r{};
    r[0].db.fill(-3.0f);
    CPlotRenderer oneX;
    oneX.init({800, 331});
    oneX.drawResponse(image, r);
    const QImage& base = oneX.backBuffer();
    // The label cells, from the same geometry the renderer draws.
    const QFontMetrics metrics(oneX.labelFont());
    const PlotGeometry g =
        computePlotGeometry(800, 331, PlotSettings::fromImage(image), ResponseGrid{}, r,
                            [&metrics](const std::string& t) {
                                return metrics.horizontalAdvance(QString::fromStdString(t));
                            });
    QRegion labels;
    for (const auto* list : {&g.decadeLabels, &g.levelLabels}) {
        for (const PlotLabel& l : *list) {
            labels += QRect(l.topLeft.x - 2, l.topLeft.y - 2,
                            metrics.horizontalAdvance(QString::fromStdString(l.text)) + 4,
                            PlotLabelCellHeight + 4);
        }
    }

    for (qreal dpr : {2.0, 1.5}) {
        CPlotRenderer dense;
        dense.init({800, 331}, dpr);
        dense.drawResponse(image, r);
        const QImage& img = dense.backBuffer();
        EXPECT_EQ(dense.backBufferSize(), QSize(800, 331)) << "logical";
        EXPECT_EQ(img.size(), QSize(800, 331) * dpr);
        EXPECT_EQ(img.devicePixelRatio(), dpr);
        int differing = 0;
        for (int y = 0; y < 331; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (labels.contains(QPoint(x, y))) continue;
                // The device pixel in the middle of logical pixel (x, y).
                const QPoint d(static_cast<int>((x + 0.5) * dpr),
                               static_cast<int>((y + 0.5) * dpr));
                differing += at(img, d.x(), d.y()) != at(base, x, y);
            }
        }
        EXPECT_EQ(differing, 0) << dpr;
        if (dpr == 2.0) {
            // The decade line at 186 is two device pixels wide, exactly.
            EXPECT_EQ(at(img, 371, 400), Grey);
            EXPECT_EQ(at(img, 372, 400), White);
            EXPECT_EQ(at(img, 373, 400), White);
            EXPECT_EQ(at(img, 374, 400), Grey);
            // "100Hz" is drawn at the density, not blown up: some pair of
            // neighbouring device pixels inside its cell differs.
            int split = 0;
            for (int y = 2 * 317; y < 2 * 330; y += 2) {
                for (int x = 2 * 189; x < 2 * 225; x += 2) {
                    split +=
                        at(img, x, y) != at(img, x + 1, y) || at(img, x, y) != at(img, x, y + 1);
                }
            }
            EXPECT_GT(split, 10);
        }
    }
}

TEST(CPlotRenderer, CurvesInChannelOrderWithTableColours) {
    ParameterImage image = defaults();
    ChannelResponses r{};  // all six on the +0 line: the last drawn one shows
    EXPECT_EQ(at(render(image, r), 300, 100), qRgb(0, 255, 0));
    image.setChannelShown(5, 0);
    EXPECT_EQ(at(render(image, r), 300, 100), qRgb(0, 255, 255));
    image.setSixChannels(0);  // channels 1..4; channel 4's brown is the table's 139,0,0
    EXPECT_EQ(at(render(image, r), 300, 100), qRgb(139, 0, 0));

    // Channel 1 alone at -3 dB: y = 120.
    image = defaults();
    for (int c = 1; c < 6; ++c) image.setChannelShown(c, 0);
    r[0].db.fill(-3.0f);
    const QImage img = render(image, r);
    EXPECT_EQ(at(img, 300, 120), qRgb(255, 0, 0));
    EXPECT_EQ(at(img, 300, 100), White);
}

TEST(CPlotRenderer, OddInputsDrawWithoutHarm) {
    ParameterImage image = defaults();
    ChannelResponses r{};
    r[0].db.fill(std::numeric_limits<float>::quiet_NaN());
    r[1].db.fill(std::numeric_limits<float>::infinity());
    r[2].db.fill(-std::numeric_limits<float>::max());
    for (int j = 0; j < ResponsePointCount; j += 2) r[3].db[static_cast<std::size_t>(j)] = 1e30f;
    image.setPlotStartHz(5000);
    image.setPlotEndHz(2000);
    EXPECT_EQ(render(image, r).size(), QSize(800, 331));
    image.setPlotStartHz(std::numeric_limits<std::int32_t>::min());
    image.setPlotEndHz(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(render(image, r, {3, 2}).size(), QSize(3, 2));

    CPlotRenderer renderer;
    renderer.init({0, 0});
    EXPECT_EQ(renderer.backBufferSize(), QSize(0, 0));
    renderer.drawResponse(image, r);  // nothing to draw into
    renderer.init({-4, 10});
    EXPECT_EQ(renderer.backBufferSize(), QSize(0, 0));
}

TEST(CResponsePlot, BackBufferFollowsTheControlAndPaintOnlyCopiesIt) {
    qtTestApp();
    CResponsePlot plot;
    EXPECT_EQ(plot.backBufferSize(), QSize(0, 0));
    plot.blit();  // no buffer yet: nothing happens
    plot.resize(800, 331);
    plot.init();
    ASSERT_EQ(plot.backBufferSize(), QSize(800, 331));
    EXPECT_EQ(at(plot.backBuffer(), 400, 200), Black);  // a new buffer is all entry 16

    ParameterImage image = defaults();
    const ChannelResponses r{};
    plot.drawResponse(image, r);
    plot.show();
    plot.blit();
    const QImage drawn = plot.backBuffer().copy();
    EXPECT_EQ(plot.grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);

    // A paint request copies the last frame; nothing is redrawn from the image.
    image.setChannelShown(5, 0);
    plot.update();
    EXPECT_EQ(plot.grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);

    plot.resize(500, 200);
    EXPECT_EQ(plot.backBufferSize(), QSize(800, 331)) << "only init resizes the buffer";
    plot.init();
    EXPECT_EQ(plot.backBufferSize(), QSize(500, 200));
}

}  // namespace
