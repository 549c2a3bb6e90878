#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QXmlStreamReader>
#include <limits>
#include <memory>
#include <set>

#include "plot/CResponsePlot.h"
#include "plot/PlotExport.h"
#include "plot/PlotRenderer.h"
#include "plot/PngFile.h"
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
    PlotRenderer renderer;
    renderer.init(size);
    renderer.drawResponse(image, r);
    return renderer.backBuffer();
}

QRgb at(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xff000000;
}

TEST(PlotRenderer, GridOfTheExampleBackBuffer) {
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

TEST(PlotRenderer, EveryPixelIsAColourTableEntryAndLabelsAreTransparent) {
    qtTestApp();
    PlotRenderer renderer;
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

TEST(PlotRenderer, ARangeWithoutDecadesShowsItsEndsInTheBottomCorners) {
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
TEST(PlotRenderer, ADenseBufferIsTheOneXPictureInProportionWithSharperLabels) {
    qtTestApp();
    ParameterImage image = defaults();
    for (int c = 1; c < 6; ++c) image.setChannelShown(c, 0);
    ChannelResponses r{};
    r[0].db.fill(-3.0f);
    PlotRenderer oneX;
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
        PlotRenderer dense;
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

TEST(PlotRenderer, CurvesInChannelOrderWithTableColours) {
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

TEST(PlotRenderer, OddInputsDrawWithoutHarm) {
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

    PlotRenderer renderer;
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

// Six channels at 0 dB, sum L at -3 dB and sum R at -9 dB (each side fed).
struct SumCurves {
    ChannelResponses channels{};
    std::unique_ptr<ComplexResponses> complex = std::make_unique<ComplexResponses>();
    SumCurves() {
        complex->sums[SideLeft].db.fill(-3.0f);
        complex->sums[SideRight].db.fill(-9.0f);
        complex->sumChannelCount = {3, 3};
    }
    PlotContent content(const ParameterImage& image, bool sums) const {
        return plotContent(image, {ResponseQuantity::Magnitude, sums}, channels, complex.get());
    }
};

TEST(PlotRenderer, SumsLieAboveTheChannelsInWhiteAndBlackWhenSwitchedOn) {
    qtTestApp();
    const ParameterImage image = defaults();
    SumCurves curves;
    PlotRenderer renderer;
    renderer.init({800, 331});
    auto draw = [&](bool sums) {
        renderer.drawView(PlotSettings::fromImage(image), curves.content(image, sums));
        return renderer.backBuffer().copy();
    };
    const QImage off = draw(false);
    EXPECT_EQ(off, render(image, curves.channels)) << "without sums: the magnitude plot";
    EXPECT_EQ(at(off, 300, 120), Grey);
    EXPECT_EQ(at(off, 300, 159), Grey);
    const QImage on = draw(true);
    EXPECT_EQ(at(on, 300, 100), qRgb(0, 255, 0)) << "channel 6 on +0 as before";
    // Two pixels wide: -3 dB at y = 120, -9 dB at y = 159.
    EXPECT_EQ(at(on, 300, 120), White);
    EXPECT_EQ(at(on, 300, 119) == White || at(on, 300, 121) == White, true);
    EXPECT_EQ(at(on, 300, 159), Black);
    // A side no channel feeds is not drawn.
    curves.complex->sumChannelCount = {3, 0};
    EXPECT_EQ(at(draw(true), 300, 159), Grey);
}

// A dialog's proposal and the overlay's prediction may lie over each other in
// one colour: the proposal carries a dot between its dashes. The lengths of
// the lit runs along a straight line tell the two patterns apart.
TEST(PlotRenderer, ADialogsDashedCurveIsToldApartFromTheOverlaysPrediction) {
    qtTestApp();
    PlotRenderer renderer;
    renderer.init({200, 20});
    const auto runs = [&](bool preview) {
        PlotGeometry g;
        g.width = 200;
        g.height = 20;
        PlotCurve line{0, {{{0, 10}, {199, 10}}}, CurveStroke::Dashed};
        (preview ? g.previews : g.overlays).push_back(line);
        QImage img(200, 20, QImage::Format_RGB32);
        img.fill(Qt::black);
        QPainter painter(&img);
        renderer.paint(painter, g);
        painter.end();
        std::set<int> lengths;
        int length = 0;
        const QRgb background = img.pixel(0, 0);
        for (int x = 20; x < 180; ++x) {  // away from where the pattern starts
            if (img.pixel(x, 10) != background && img.pixel(x, 10) != img.pixel(x, 2)) {
                ++length;
            } else if (length > 0) {
                lengths.insert(length);
                length = 0;
            }
        }
        return lengths;
    };
    const std::set<int> prediction = runs(false);
    const std::set<int> proposal = runs(true);
    EXPECT_EQ(prediction.count(2), 0u) << "8 on, 4 off";
    EXPECT_EQ(proposal.count(2), 1u) << "8 on, 3 off, 2 on, 3 off";
    EXPECT_EQ(proposal.count(8), 1u);
}

TEST(CResponsePlot, CursorLayerFollowsMouseAndKeysOverTheUnchangedBackBuffer) {
    qtTestApp();
    ParameterImage image = defaults();
    SumCurves curves;
    for (int j = 0; j < ResponsePointCount; ++j) {
        curves.channels[1].db[static_cast<std::size_t>(j)] = static_cast<float>(j % 7) - 3.0f;
    }
    CResponsePlot plot;
    plot.resize(800, 331);
    plot.init();
    plot.drawView(image, curves.content(image, true));
    plot.show();
    plot.blit();
    const QImage frame = plot.backBuffer().copy();
    QSignalSpy changed(&plot, &CResponsePlot::readoutChanged);
    EXPECT_EQ(plot.cursorPoint(), -1);

    auto move = [&plot](int x) {
        QMouseEvent event(QEvent::MouseMove, QPointF(x, 200), plot.mapToGlobal(QPointF(x, 200)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&plot, &event);
    };
    move(453);  // the 1000 Hz line: grid point 270 (1002 Hz)
    ASSERT_EQ(plot.cursorPoint(), 270);
    EXPECT_EQ(changed.count(), 1);
    const CursorReadout& r = plot.readout();
    EXPECT_EQ(r.frequency, "1002 Hz");
    ASSERT_EQ(r.entries.size(), 8u);
    EXPECT_EQ(r.entries[1].value, curves.channels[1].db[270]);
    EXPECT_EQ(r.entries[6].text, "-3.0 dB");
    EXPECT_EQ(r.entries[7].name, "Summe R");
    EXPECT_TRUE(plot.cursorLayerRect().contains(453, 200));
    // The line and the box are painted over the frame, which stays as drawn.
    const QImage shown = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(at(shown, 453, 250), Black);
    EXPECT_EQ(plot.backBuffer(), frame);
    EXPECT_EQ(shown.copy(0, 0, 300, 331), frame.copy(0, 0, 300, 331));

    move(454);  // the same grid point: nothing changes
    EXPECT_EQ(changed.count(), 1);
    QTest::keyClick(&plot, Qt::Key_Right);
    EXPECT_EQ(plot.cursorPoint(), 271);
    QTest::keyClick(&plot, Qt::Key_Left);
    QTest::keyClick(&plot, Qt::Key_Left);
    EXPECT_EQ(plot.cursorPoint(), 269);
    move(-40);  // left of the axis: its first point
    EXPECT_EQ(plot.cursorPoint(), 100);
    QTest::keyClick(&plot, Qt::Key_Left);
    EXPECT_EQ(plot.cursorPoint(), 100) << "the keys stay inside the plot";

    // A new drawing keeps the cursor and reads the new values.
    curves.complex->sums[SideLeft].db.fill(2.0f);
    plot.drawView(image, curves.content(image, true));
    EXPECT_EQ(plot.readout().entries[6].text, "+2.0 dB");

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&plot, &leave);
    EXPECT_EQ(plot.cursorPoint(), -1);
    EXPECT_TRUE(plot.cursorLayerRect().isEmpty());
    EXPECT_EQ(plot.grab().toImage().convertToFormat(QImage::Format_RGB32), plot.backBuffer());
    // With the focus, the keys bring it back where it was.
    QTest::keyClick(&plot, Qt::Key_Right);
    EXPECT_EQ(plot.cursorPoint(), 100);
}

// A resize moves the plot under a mouse that stands still: the cursor stays
// under the mouse while the mouse is over the plot, and goes with it.
TEST(CResponsePlot, CursorFollowsAStillMouseThroughAResize) {
    qtTestApp();
    const ParameterImage image = defaults();
    SumCurves curves;
    CResponsePlot plot;
    // Column 453 of 20 Hz..20 kHz: 1002 Hz at 800 wide, 3681 Hz at 600 (the
    // grid's 100 points a decade lie within 1.2 % of it); none at 400.
    const QPoint mouse(453, 200);
    const std::pair<int, double> widthAndHz[] = {{800, 1002}, {600, 3681}, {400, 0}};
    for (const auto& [width, hz] : widthAndHz) {
        plot.resize(width, 331);
        plot.init();
        plot.drawView(image, curves.content(image, false));
        if (width == 800) {
            QMouseEvent event(QEvent::MouseMove, mouse, plot.mapToGlobal(QPointF(mouse)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&plot, &event);
        }
        EXPECT_EQ(plot.cursorPoint() < 0, hz == 0) << width;
        EXPECT_EQ(plot.cursorLayerRect().isEmpty(), hz == 0) << width;
        EXPECT_NEAR(plot.readout().hz, hz, hz * 0.012) << width;
    }
}

TEST(PlotExport, PngIsTheBackBufferAndSvgIsWellFormed) {
    qtTestApp();
    ParameterImage image = defaults();
    SumCurves curves;
    PlotRenderer renderer;
    renderer.init({800, 331});
    renderer.drawView(PlotSettings::fromImage(image), curves.content(image, true));

    const QByteArray png = encodePng(renderer.backBuffer());
    EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32),
              renderer.backBuffer());

    const QByteArray svg = plotSvg(renderer);
    QXmlStreamReader xml(svg);
    int polylines = 0;
    int texts = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("svg")) {
            EXPECT_EQ(xml.attributes().value("viewBox"), QLatin1String("0 0 800 331"));
            EXPECT_EQ(xml.attributes().value("width"), QLatin1String("800"));
            EXPECT_EQ(xml.attributes().value("height"), QLatin1String("331"));
        }
        polylines += xml.name() == QLatin1String("polyline");
        texts += xml.name() == QLatin1String("text");
        // The weight of the face the labels are drawn in, not a thin one.
        if (xml.attributes().hasAttribute("font-weight")) {
            const QFontInfo face(renderer.labelFont());
            EXPECT_EQ(xml.attributes().value("font-weight").toInt(),
                      QFontDatabase::weight(face.family(), face.styleName()));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(polylines, 8 + 11);  // the curves and at least the grid's lines
    EXPECT_GE(texts, 3 + 11);      // the decade and the level labels
    EXPECT_TRUE(isSvgPath("a/b.SVG"));
    EXPECT_FALSE(isSvgPath("b.svg.png"));

    PlotRenderer none;
    EXPECT_TRUE(plotSvg(none).isEmpty());
}

}  // namespace
