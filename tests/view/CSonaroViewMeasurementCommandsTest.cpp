// The measurement overlay in the running program: loaded for the selected
// channel from each kind of file, drawn in the channel's colour where the
// channel is shown, normalised or not, with its prediction, a broken file
// refused, and the files and options as the side file keeps them.

#include <QColor>

#include "interchange/Measurement.h"
#include "plot/CResponsePlot.h"
#include "plot/PlotRenderer.h"
#include "storage/ParameterFile.h"
#include "storage/SideFile.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

// A two-way speaker's woofer as REW exports it, and the same kinds of
// points as FRD (blanks) and as TXT with semicolons and decimal commas.
const char* const RewText =
    "* Measurement data measured by REW V5.20.13\n"
    "* Source: Tieftöner, 50 cm\n"
    "* Freq(Hz), SPL(dB), Phase(degrees)\n"
    "20.000, 72.10, 150.0\n"
    "100.000, 84.30, 60.0\n"
    "300.000, 86.00, 10.0\n"
    "1000.000, 85.20, -40.0\n"
    "2000.000, 83.90, -100.0\n"
    "5000.000, 76.50, -170.0\n"
    "20000.000, 60.00, 175.0\n";
const char* const FrdText =
    "20 72.1\n100 84.3\n300 86.0\n1000 85.2\n2000 83.9\n5000 76.5\n20000 60.0\n";
const char* const SemicolonText =
    "Freq;dB;Phase\n20;72,1;150\n100;84,3;60\n300;86;10\n1000;85,2;-40\n"
    "2000;83,9;-100\n5000;76,5;-170\n20000;60;175\n";

class MeasurementCommands : public ViewCommandTest {
protected:
    CResponsePlot& plot() { return *view().plot(); }
    // Loads `text` as a file for the selected channel.
    void load(const std::string& name, const std::string& text) {
        const std::string path = run.dir.file(name);
        writeFileBytes(path, text);
        filePaths = {path};
        ASSERT_TRUE(command(CmdLoadMeasurement));
        EXPECT_EQ(fileDialogsShown.back(), FileDialogKind::Measurement);
        view().redrawStep();
    }
    void selectChannel(int c) {
        tabs().switchToTab(c);
        ASSERT_EQ(tabs().curSel(), c);
    }
    // The plot as drawn without any measurement.
    QImage plainPlot() {
        PlotRenderer plain;
        plain.init(plot().backBufferSize());
        plain.drawResponse(image(), view().responses());
        return plain.backBuffer();
    }
    // Pixels where the plot differs from the plain one, and how many of them
    // have another colour than `colour`.
    std::pair<int, int> overlayPixels(const QColor& colour) {
        const QImage plain = plainPlot();
        const QImage& drawn = plot().backBuffer();
        int differing = 0;
        int foreign = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                if (drawn.pixel(x, y) == plain.pixel(x, y)) continue;
                ++differing;
                if (drawn.pixel(x, y) != colour.rgb()) ++foreign;
            }
        }
        return {differing, foreign};
    }
    const std::vector<PlotCurve>& overlays() { return plot().renderer().lastGeometry().overlays; }
};

TEST_F(MeasurementCommands, EachKindOfFileIsDrawnInTheChannelsColourWhereItIsShown) {
    struct Case {
        const char* name;
        const char* text;
        std::size_t phaseCurves;
    };
    const Case cases[] = {
        {"tief.txt", RewText, 1},
        {"tief.frd", FrdText, 0},
        {"tief.csv", SemicolonText, 1},
    };
    start();
    EXPECT_FALSE(run.frame().action(CmdRemoveMeasurement)->isEnabled());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        selectChannel(2);
        load(c.name, c.text);
        EXPECT_TRUE(ui.messages.empty());
        ASSERT_EQ(overlays().size(), 1u);
        EXPECT_EQ(overlays()[0].channel, 2);
        EXPECT_EQ(overlays()[0].stroke, CurveStroke::Dotted);
        const auto [differing, foreign] = overlayPixels(plot().curveColour(2));
        EXPECT_GT(differing, 100);
        EXPECT_EQ(foreign, 0);
        EXPECT_TRUE(run.frame().action(CmdRemoveMeasurement)->isEnabled());

        // The phase view shows the measured phase where the file has one;
        // the group-delay view shows none.
        EXPECT_TRUE(command(CmdViewPhase));
        view().redrawStep();
        EXPECT_EQ(overlays().size(), c.phaseCurves);
        EXPECT_TRUE(command(CmdViewGroupDelay));
        view().redrawStep();
        EXPECT_TRUE(overlays().empty());
        EXPECT_TRUE(command(CmdViewMagnitude));

        // A hidden channel shows no measurement: the plain plot, pixel for pixel.
        EXPECT_TRUE(command(CmdShowChannel3));
        view().redrawStep();
        EXPECT_EQ(plot().backBuffer(), plainPlot());
        EXPECT_TRUE(command(CmdShowChannel3));

        // Removed: the plain plot again, and nothing left to remove.
        EXPECT_TRUE(command(CmdRemoveMeasurement));
        view().redrawStep();
        EXPECT_EQ(plot().backBuffer(), plainPlot());
        EXPECT_FALSE(run.frame().action(CmdRemoveMeasurement)->isEnabled());
    }
}

TEST_F(MeasurementCommands, NormalisationShiftsTheCurveAndThePredictionFollowsTheChannel) {
    start();
    EXPECT_TRUE(command(CmdSmoothNone));  // the file's own points
    EXPECT_TRUE(run.frame().action(CmdNormaliseMeasurements)->isChecked());
    EXPECT_FALSE(run.frame().action(CmdShowPrediction)->isChecked());
    load("tief.frd", FrdText);
    ASSERT_EQ(overlays().size(), 1u);
    const std::vector<PlotPoint> normalised = overlays()[0].runs.at(0);

    // Unnormalised the woofer's 85 dB lie far above the plot's top: every
    // point moves up by the midrange average.
    double average = 0;
    ASSERT_TRUE(midrangeAverageDb(parseMeasurement(FrdText).measurement, average));
    EXPECT_TRUE(command(CmdNormaliseMeasurements));
    view().redrawStep();
    const std::vector<PlotPoint> raw = overlays().at(0).runs.at(0);
    ASSERT_EQ(raw.size(), normalised.size());
    const PlotAxes axes(plot().backBufferSize().width(), plot().backBufferSize().height(), 20,
                        20000);
    const double shift = axes.zeroDbY() - axes.yOfDb(average);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        EXPECT_EQ(raw[i].x, normalised[i].x);
        EXPECT_NEAR(normalised[i].y - raw[i].y, shift, 1.0) << i;
    }
    EXPECT_TRUE(command(CmdNormaliseMeasurements));

    // The prediction: dashed, the measurement plus the channel's response,
    // and it follows an edit of the channel.
    EXPECT_TRUE(command(CmdShowPrediction));
    view().redrawStep();
    ASSERT_EQ(overlays().size(), 2u);
    EXPECT_EQ(overlays()[1].stroke, CurveStroke::Dashed);
    EXPECT_EQ(overlays()[1].channel, 0);
    const std::vector<PlotPoint> flat = overlays()[1].runs.at(0);
    EXPECT_EQ(flat, overlays()[0].runs.at(0));       // a neutral channel adds 0 dB
    image().setField(0, 0, ChannelField::level, 6);  // +6 dB
    image().setRedrawPending(1);
    ASSERT_TRUE(view().redrawStep());
    const std::vector<PlotPoint> louder = overlays().at(1).runs.at(0);
    ASSERT_EQ(louder.size(), flat.size());
    EXPECT_LT(louder[2].y, flat[2].y);
}

TEST_F(MeasurementCommands, ABrokenFileIsRefusedWithItsLineAndChangesNothing) {
    start();
    selectChannel(1);
    load("gut.frd", FrdText);
    const QImage before = plot().backBuffer();
    // Named as it is, also without a "." anywhere in its path.
    load("kaputt", "* REW\n20, 70\n100, 80\n300, x\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("Die Messung \"kaputt\""), std::string::npos)
        << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("Zeile 4: \"x\" ist keine Zahl"), std::string::npos)
        << ui.messages[0].text;
    EXPECT_EQ(plot().backBuffer(), before);
    ASSERT_EQ(view().sideFile().measurements[1].size(), 1u);
    EXPECT_EQ(std::filesystem::path(view().sideFile().measurements[1][0]),
              std::filesystem::path(run.dir.file("gut.frd")));
}

TEST_F(MeasurementCommands, FilesAndOptionsAreUndoneAndGoThroughTheSideFile) {
    start();
    std::filesystem::create_directories(run.dir.file("mess"));
    load("mess/tief.txt", RewText);
    EXPECT_TRUE(command(CmdNormaliseMeasurements));
    EXPECT_TRUE(command(CmdShowPrediction));
    view().redrawStep();
    ASSERT_EQ(overlays().size(), 2u);
    // Loading is a step of its own.
    EXPECT_TRUE(command(CmdEditUndo));
    EXPECT_TRUE(command(CmdEditUndo));
    EXPECT_TRUE(command(CmdEditUndo));
    view().redrawStep();
    EXPECT_TRUE(overlays().empty());
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(command(CmdEditRedo));
    view().redrawStep();
    ASSERT_EQ(overlays().size(), 2u);

    // Saved: the file relative to the parameter file's folder, the options.
    const std::string dat = run.dir.file("Boxen.dat");
    filePaths = {dat};
    EXPECT_TRUE(command(CmdFileSave));
    const std::string json = readFileBytes(sideFilePath(dat));
    EXPECT_NE(json.find("\"mess/tief.txt\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"normalise\": false"), std::string::npos) << json;

    // Opened again after New: the same overlay.
    EXPECT_TRUE(command(CmdFileNew));
    view().redrawStep();
    EXPECT_TRUE(overlays().empty());
    filePaths = {dat};
    EXPECT_TRUE(command(CmdFileOpen));
    view().redrawStep();
    ASSERT_EQ(overlays().size(), 2u);
    EXPECT_TRUE(run.frame().action(CmdShowPrediction)->isChecked());
    EXPECT_FALSE(run.frame().action(CmdNormaliseMeasurements)->isChecked());

    // A measurement gone missing: one message, no overlay, the path kept
    // for the user to remove or bring back.
    std::filesystem::remove(run.dir.file("mess/tief.txt"));
    EXPECT_TRUE(command(CmdFileNew));
    filePaths = {dat};
    EXPECT_TRUE(command(CmdFileOpen));
    view().redrawStep();
    view().redrawStep();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("\"tief.txt\""), std::string::npos);
    EXPECT_TRUE(overlays().empty());
    EXPECT_TRUE(run.frame().action(CmdRemoveMeasurement)->isEnabled());
}

// A two-way speaker: the woofer and the tweeter measured with phase against
// one timing reference (the synthetic pair of the fit's curves), a third
// channel on the same side without any measurement. With the sums on, the
// sum the measurements predict is drawn beside the model's in the
// magnitude and phase views, listed by the readout with the channel it
// leaves out, and written to the CSV.
TEST_F(MeasurementCommands, TheMeasuredSumOfAPairIsDrawnListedAndExported) {
    const std::string file = run.dir.file("zweiweg.dat");
    {
        ParameterImage stored;
        applyDefaults(stored);
        for (int c = 0; c < ChannelCount; ++c) {
            stored.setField(0, c, ChannelField::input, c < 3 ? 0 : 1);
        }
        stored.setField(0, 0, ChannelField::lpType, 9);  // the woofer up to 2 kHz
        stored.setField(0, 0, ChannelField::lpFrequency, 2000);
        stored.setField(0, 1, ChannelField::hpType, 9);  // the tweeter from 2 kHz
        stored.setField(0, 1, ChannelField::hpFrequency, 2000);
        ASSERT_EQ(saveParameterFile(stored, file), 0);
    }
    start();
    filePaths = {file};
    ASSERT_TRUE(command(CmdFileOpen));
    const std::string dir = FILTARO_MEASUREMENTS_DIR;
    for (const auto& [channel, name] :
         {std::pair{0, "/model-a-woofer.txt"}, std::pair{1, "/model-a-tweeter.txt"}}) {
        selectChannel(channel);
        filePaths = {dir + name};
        ASSERT_TRUE(command(CmdLoadMeasurement));
    }
    view().redrawStep();
    const auto measuredSums = [&] {
        std::vector<const PlotCurve*> found;
        for (const PlotCurve& curve : overlays()) {
            if (curve.channel >= PlotSumCurve) found.push_back(&curve);
        }
        return found;
    };
    EXPECT_TRUE(measuredSums().empty()) << "only with the sums";

    ASSERT_TRUE(command(CmdShowSums));
    for (int viewId : {CmdViewMagnitude, CmdViewPhase, CmdViewGroupDelay}) {
        SCOPED_TRACE(viewId);
        ASSERT_TRUE(command(viewId));
        view().redrawStep();
        const bool drawn = viewId != CmdViewGroupDelay;
        ASSERT_EQ(measuredSums().size(), drawn ? 1u : 0u);
        plot().setCursorPoint(300);  // 2 kHz, the crossover
        std::vector<std::string> names;
        for (const ReadoutEntry& e : plot().readout().entries) names.push_back(e.name);
        EXPECT_EQ(std::count(names.begin(), names.end(), "Summe L (gemessen, ohne Kanal 3)"),
                  drawn ? 1 : 0);
        if (!drawn) continue;
        EXPECT_EQ(measuredSums()[0]->channel, PlotSumCurve + SideLeft);
        EXPECT_EQ(measuredSums()[0]->stroke, CurveStroke::Dotted);
    }

    ASSERT_TRUE(command(CmdViewMagnitude));
    filePaths = {run.dir.file("kurven.csv")};
    ASSERT_TRUE(command(CmdExportCurvesCsv));
    const std::string csv = readFileBytes(run.dir.file("kurven.csv"));
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "Frequenz [Hz],Kanal 1 [dB],Kanal 2 [dB],Kanal 3 [dB],Kanal 4 [dB],Kanal 5 [dB],"
              "Kanal 6 [dB],Summe L [dB],Summe R [dB],\"Summe L (gemessen, ohne Kanal 3) [dB]\"");
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
