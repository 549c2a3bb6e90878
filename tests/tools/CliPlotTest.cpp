// filtaro-cli plot exists only where the Qt drawing code is built.
#ifdef FILTARO_CLI_PLOT

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include "model/ParameterImage.h"
#include "plotmodel/PlotGeometry.h"
#include "storage/ParameterFile.h"
#include "support/CliRun.h"
#include "support/ScratchDir.h"

namespace {

QImage loadPng(const std::string& path) {
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

QRgb at(const QImage& img, int x, int y) {
    return img.pixel(x, y) | 0xff000000;
}

std::string writeImage(const ScratchDir& dir, const ParameterImage& image) {
    const std::string path = dir.file("p.dat");
    EXPECT_EQ(saveParameterFile(image, path), 0);
    return path;
}

TEST(CliPlot, DefaultSizeAndChosenPreset) {
    ScratchDir dir;
    ParameterImage image;
    applyDefaults(image);
    image.setActivePreset(3);  // the stored preset does not choose what is drawn
    image.setField(1, 5, ChannelField::level, -3);
    const std::string data = writeImage(dir, image);

    const CliResult r = runCliCommand({"plot", data, dir.file("a.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        r.out.find(std::to_string(DefaultPlotWidth) + " x " + std::to_string(DefaultPlotHeight)),
        std::string::npos)
        << r.out;
    const QImage a = loadPng(dir.file("a.png"));
    ASSERT_EQ(a.size(), QSize(DefaultPlotWidth, DefaultPlotHeight));
    const PlotAxes axes(DefaultPlotWidth, DefaultPlotHeight, 20, 20000);
    EXPECT_EQ(at(a, 0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(at(a, 300, axes.yOfDb(0)), qRgb(0, 255, 0));  // preset 1: channel 6 on +0

    const CliResult r2 =
        runCliCommand({"plot", data, dir.file("b.png"), "--preset", "2", "--size", "800x331"});
    ASSERT_EQ(r2.status, 0) << r2.err;
    const QImage b = loadPng(dir.file("b.png"));
    ASSERT_EQ(b.size(), QSize(800, 331));
    EXPECT_EQ(at(b, 300, 120), qRgb(0, 255, 0));  // preset 2: channel 6 at -3 dB
    EXPECT_EQ(at(b, 300, 100), qRgb(0, 255, 255));
}

TEST(CliPlot, BadArgumentsAndFilesAreRefusedWithoutOutput) {
    ScratchDir dir;
    ParameterImage image;
    applyDefaults(image);
    const std::string data = writeImage(dir, image);
    writeFileBytes(dir.file("short.dat"), std::string(2783, '\0'));
    const std::string out = dir.file("out.png");

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"plot", data}, 2, "Aufruf: filtaro-cli plot"},
        {{"plot", data, out, "extra"}, 2, "Aufruf: filtaro-cli plot"},
        {{"plot", data, out, "--size", "800"}, 2, "BREITExHÖHE"},
        {{"plot", data, out, "--size", "0x10"}, 2, "BREITExHÖHE"},
        {{"plot", data, out, "--size", "9000x10"}, 2, "BREITExHÖHE"},
        {{"plot", data, out, "--preset", "5"}, 2, "Preset"},
        {{"plot", data, out, "--colour", "red"}, 2, "Unbekannte Option"},
        {{"plot", data, out, "--view", "Phase"}, 2, "Die Ansicht muss magnitude"},
        {{"plot", dir.file("missing.dat"), out},
         1,
         "missing.dat: Datei konnte nicht geöffnet werden (nicht vorhanden)"},
        {{"plot", dir.file("short.dat"), out}, 1, "(2783 Bytes statt 2784)"},
        {{"plot", data, dir.file("no/such/dir/out.png")},
         1,
         "Datei konnte nicht gespeichert werden (Ordner nicht vorhanden)"},
        {{"plot", data, dir.file("no/such/dir/out.svg")},
         1,
         "Datei konnte nicht gespeichert werden (Ordner nicht vorhanden)"},
    };
    for (const Case& c : cases) {
        const CliResult r = runCliCommand(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.back();
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.rfind("filtaro-cli: ", 0), 0u) << r.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args.back();
    }
}

TEST(CliPlot, ViewsSumsAndSvg) {
    ScratchDir dir;
    ParameterImage image;
    applyDefaults(image);
    for (int c = 0; c < ChannelCount; ++c) {
        image.setField(0, c, ChannelField::lpType, 9);
        image.setField(0, c, ChannelField::lpFrequency, 500 + 1000 * c);
        image.setField(0, c, ChannelField::delayTaps, 50 * c);
    }
    const std::string data = writeImage(dir, image);

    // The default output is the magnitude plot, byte for byte.
    ASSERT_EQ(runCliCommand({"plot", data, dir.file("default.png")}).status, 0);
    ASSERT_EQ(runCliCommand({"plot", data, dir.file("m.png"), "--view", "magnitude"}).status, 0);
    EXPECT_EQ(readFileBytes(dir.file("default.png")), readFileBytes(dir.file("m.png")));

    auto whitePixels = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) n += at(img, x, y) == qRgb(255, 255, 255);
        }
        return n;
    };
    const QImage magnitude = loadPng(dir.file("m.png"));
    for (const char* view : {"phase", "groupdelay"}) {
        const std::string out = dir.file(std::string(view) + ".png");
        ASSERT_EQ(runCliCommand({"plot", data, out, "--view", view}).status, 0) << view;
        EXPECT_NE(loadPng(out), magnitude) << view;
    }
    // The sum L (every default channel is on L) is drawn in white.
    ASSERT_EQ(runCliCommand({"plot", data, dir.file("s.png"), "--sum"}).status, 0);
    EXPECT_GT(whitePixels(loadPng(dir.file("s.png"))), whitePixels(magnitude) + 500);

    const CliResult svg = runCliCommand(
        {"plot", data, dir.file("p.svg"), "--view", "phase", "--sum", "--size", "600x400"});
    ASSERT_EQ(svg.status, 0) << svg.err;
    EXPECT_NE(svg.out.find("p.svg"), std::string::npos);
    QXmlStreamReader xml(QByteArray::fromStdString(readFileBytes(dir.file("p.svg"))));
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QLatin1String("svg"));
    EXPECT_EQ(xml.attributes().value("viewBox"), QLatin1String("0 0 600 400"));
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

TEST(CliPlot, FailedWriteLeavesAnExistingFileAlone) {
    ScratchDir dir;
    ParameterImage image;
    applyDefaults(image);
    const std::string data = writeImage(dir, image);
    // The output name is taken by a directory: nothing can be written there.
    std::filesystem::create_directory(dir.file("taken.png"));
    writeFileBytes(dir.file("taken.png/keep.txt"), "keep");
    const CliResult r = runCliCommand({"plot", data, dir.file("taken.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(readFileBytes(dir.file("taken.png/keep.txt")), "keep");
}

}  // namespace

#endif  // FILTARO_CLI_PLOT
