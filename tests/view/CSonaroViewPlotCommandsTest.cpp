// What the plot shows (magnitude, phase, group delay, the sums), its cursor
// readout in the running program, and the export of what it shows.

#include <QXmlStreamReader>

#include "plot/CResponsePlot.h"
#include "plot/PlotRenderer.h"
#include "storage/Ini.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

class PlotCommands : public ViewCommandTest {
protected:
    // A preset whose channels differ in every quantity: filters, a band,
    // delays, inputs L, R and L+R.
    void editPreset() {
        for (int c = 0; c < ChannelCount; ++c) {
            image().setField(0, c, ChannelField::hpType, 9);
            image().setField(0, c, ChannelField::hpFrequency, 50 + 300 * c);
            image().setField(0, c, ChannelField::delayTaps, 40 * c);
            image().setField(0, c, ChannelField::input, c % 3);
        }
        image().setRedrawPending(1);
        ASSERT_TRUE(view().redrawStep());
    }
    CResponsePlot& plot() { return *view().plot(); }
    QAction& action(int id) { return *run.frame().action(id); }
    // The values the readout shows at grid point j against the stored curves
    // of the view it shows.
    void expectReadoutOfStoredCurves(int j) {
        plot().setCursorPoint(j);
        const ResponseQuantity q = view().plotView().quantity;
        const CursorReadout& r = plot().readout();
        ASSERT_EQ(r.point, j);
        for (const ReadoutEntry& e : r.entries) {
            const ComplexResponses& complex = view().complexResponses();
            const float stored =
                e.id >= PlotSumCurve               ? complex.sums[e.id - PlotSumCurve].values(q)[j]
                : q == ResponseQuantity::Magnitude ? view().responses()[e.id].db[j]
                                                   : complex.channels[e.id].values(q)[j];
            EXPECT_EQ(e.value, stored) << e.name;
        }
    }
};

TEST_F(PlotCommands, ViewsSwitchFromTheMenuAndTheChoiceIsKeptInTheIni) {
    writeFileBytes(IniFileName, "[PLOT]\r\nView=groupdelay\r\n");
    start();
    EXPECT_EQ(view().plotView().quantity, ResponseQuantity::GroupDelay);
    EXPECT_TRUE(action(CmdViewGroupDelay).isChecked());
    editPreset();
    expectReadoutOfStoredCurves(250);
    EXPECT_EQ(plot().readout().entries[0].text.substr(plot().readout().entries[0].text.size() - 2),
              "ms");

    EXPECT_TRUE(command(CmdViewPhase));
    EXPECT_TRUE(action(CmdViewPhase).isChecked());
    EXPECT_FALSE(action(CmdViewGroupDelay).isChecked());
    EXPECT_NE(readFileBytes(IniFileName).find("View=phase"), std::string::npos);
    ASSERT_TRUE(view().redrawStep());
    expectReadoutOfStoredCurves(250);
    EXPECT_EQ(plot().readout().entries[0].text.back(), '\xb0');  // "°"

    // Back to the magnitude: the plot of the magnitude path, pixel for pixel.
    EXPECT_TRUE(command(CmdViewMagnitude));
    EXPECT_NE(readFileBytes(IniFileName).find("View=magnitude"), std::string::npos);
    ASSERT_TRUE(view().redrawStep());
    expectReadoutOfStoredCurves(250);
    PlotRenderer magnitudePlot;
    magnitudePlot.init(plot().backBufferSize());
    magnitudePlot.drawResponse(image(), view().responses());
    EXPECT_EQ(plot().backBuffer(), magnitudePlot.backBuffer());

    // A name the program does not know shows the magnitude.
    run.end();
    writeFileBytes(IniFileName, "[PLOT]\r\nView=Phase\r\n");
    start();
    EXPECT_EQ(view().plotView().quantity, ResponseQuantity::Magnitude);
}

TEST_F(PlotCommands, SumsAreComputedAndDrawnOnlyWhenSwitchedOn) {
    start();
    editPreset();
    EXPECT_FALSE(action(CmdShowSums).isChecked());
    plot().setCursorPoint(300);
    EXPECT_EQ(plot().readout().entries.size(), 6u);
    // The magnitude view alone never runs the complex path.
    for (float v : view().complexResponses().channels[1].db) ASSERT_EQ(v, 0.0f);

    EXPECT_TRUE(command(CmdShowSums));
    EXPECT_TRUE(action(CmdShowSums).isChecked());
    ASSERT_TRUE(view().redrawStep());
    EXPECT_NE(view().complexResponses().channels[1].db[300], 0.0f);
    expectReadoutOfStoredCurves(300);
    ASSERT_EQ(plot().readout().entries.size(), 8u);
    EXPECT_EQ(plot().readout().entries[6].name, "Summe L");
    EXPECT_EQ(plot().readout().entries[7].name, "Summe R");
    // The readout's box and the status-bar pane show it.
    EXPECT_FALSE(plot().cursorLayerRect().isEmpty());

    EXPECT_TRUE(command(CmdShowSums));
    ASSERT_TRUE(view().redrawStep());
    EXPECT_EQ(plot().readout().entries.size(), 6u);
}

TEST_F(PlotCommands, ExportWritesWhatThePlotShows) {
    start();
    editPreset();
    EXPECT_TRUE(command(CmdViewGroupDelay));
    EXPECT_TRUE(command(CmdShowSums));

    const std::string csv = run.dir.file("kurven.csv");
    const std::string png = run.dir.file("grafik.png");
    const std::string svg = run.dir.file("grafik.svg");
    filePaths = {csv, png, svg, std::nullopt, run.dir.file("fehlt/grafik.png")};
    // The pending redraw is drawn before the file is written.
    EXPECT_TRUE(command(CmdExportCurvesCsv));
    EXPECT_EQ(fileDialogsShown.back(), FileDialogKind::ExportCsv);
    const std::string text = readFileBytes(csv);
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "Frequenz [Hz],Kanal 1 [ms],Kanal 2 [ms],Kanal 3 [ms],Kanal 4 [ms],Kanal 5 [ms],"
              "Kanal 6 [ms],Summe L [ms],Summe R [ms]");
    EXPECT_NE(text.find("\n20,"), std::string::npos);  // grid point 100
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), ResponsePointCount + 1);

    EXPECT_TRUE(command(CmdExportPlotPng));
    EXPECT_EQ(QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32),
              plot().backBuffer());
    EXPECT_TRUE(command(CmdExportPlotSvg));
    QXmlStreamReader xml(QByteArray::fromStdString(readFileBytes(svg)));
    while (!xml.atEnd()) xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    EXPECT_TRUE(command(CmdExportPlotPng));  // cancelled: nothing happens
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(command(CmdExportPlotPng));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Datei konnte nicht gespeichert werden.");
    EXPECT_EQ(ui.messages[0].title, "Fehler");
}

}  // namespace
