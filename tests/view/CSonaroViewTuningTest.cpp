// "Automatisch anpassen" and "Übergang ausrichten" as the user meets them:
// the dialog on the channels' measurements, its curves in the plot while it
// is open, Übernehmen as one step that undo takes back; Abbrechen changes
// nothing.

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <cmath>

#include "plot/CResponsePlot.h"
#include "plot/PlotRenderer.h"
#include "response/AnalogSection.h"
#include "response/EqResponse.h"
#include "ui/AlignDialog.h"
#include "ui/FitDialog.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

// A loudspeaker that is flat but for a +6 dB peak the device's own band
// (1000 Hz, Q 2) makes. The device's band is 1 + (A - 1)·band-pass,
// (s² + s·A/Q + 1)/(s² + s/Q + 1): its exact inverse is the band of A = 1/2
// and Q 1, (s² + s/2 + 1)/(s² + s + 1), which is the fit's known answer.
std::string peakedSpeaker() {
    std::string text = "* Freq(Hz), SPL(dB)\n";
    const AnalogSection peak = eqBandSection({1000, 4, 6}, 0);
    for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 24.0)) {
        text += std::to_string(f) + ", " +
                std::to_string(85.0 + magnitudeToDb(sectionMagnitude(peak, f))) + "\n";
    }
    return text;
}

class Tuning : public ViewCommandTest {
protected:
    // Opens the dialog; `inside` runs while it is open and answers it.
    void autoFit(const std::function<int(FitDialog&)>& inside) {
        run.hook = [&](QDialog& dialog, int& result) {
            auto* fit = dynamic_cast<FitDialog*>(&dialog);
            if (!fit) return false;
            result = inside(*fit);
            return true;
        };
        ASSERT_TRUE(command(CmdAutoFit));
        run.hook = nullptr;
    }
    void align(const std::function<int(AlignDialog&)>& inside) {
        run.hook = [&](QDialog& dialog, int& result) {
            auto* align = dynamic_cast<AlignDialog*>(&dialog);
            if (!align) return false;
            result = inside(*align);
            return true;
        };
        ASSERT_TRUE(command(CmdAlignCrossover));
        run.hook = nullptr;
    }
    static bool waitForSearch(AlignDialog& align) {
        QCoreApplication::processEvents();  // a change starts its search
        return QTest::qWaitFor([&] { return align.finished(); }, 60000);
    }
    static bool waitForFit(FitDialog& fit) {
        QCoreApplication::processEvents();  // an option change starts its fit
        return QTest::qWaitFor([&] { return fit.finished(); }, 30000);
    }
};

TEST_F(Tuning, TheDialogFitsShowsItsCurvesAndUebernehmenIsOneStep) {
    start();
    EXPECT_FALSE(run.frame().action(CmdAutoFit)->isEnabled());
    const std::string path = run.dir.file("box.txt");
    writeFileBytes(path, peakedSpeaker());
    filePaths = {path};
    ASSERT_TRUE(command(CmdLoadMeasurement));
    view().redrawStep();
    EXPECT_TRUE(run.frame().action(CmdAutoFit)->isEnabled());
    const ParameterImage before = image();

    // Abbrechen: nothing changes, no step.
    const std::size_t steps = document().history().size();
    autoFit([&](FitDialog& fit) {
        EXPECT_TRUE(waitForFit(fit));
        return static_cast<int>(QDialog::Rejected);
    });
    view().redrawStep();
    EXPECT_TRUE(sameImage(image(), before));
    EXPECT_EQ(document().history().size(), steps);
    EXPECT_TRUE(view().plotPreview().empty());

    ChannelRecord fitted;
    autoFit([&](FitDialog& fit) {
        EXPECT_TRUE(waitForFit(fit));
        // The target and the predicted result in the plot, in channel 1's colour.
        EXPECT_EQ(view().plotPreview().size(), 2u);
        view().redrawStep();
        EXPECT_EQ(view().plot()->renderer().lastGeometry().previews.size(), 2u);
        // Only cuts from here on, and the file's own points.
        fit.maxBoostBox()->setValue(0);
        fit.smoothingBox()->setCurrentIndex(0);
        EXPECT_TRUE(waitForFit(fit));
        const QString line = fit.errorLabel()->text();
        EXPECT_TRUE(line.startsWith("Fehler vorher ")) << line.toStdString();
        EXPECT_TRUE(line.contains("nachher 0,0 dB; ohne Raster wären 0,0 dB möglich"))
            << line.toStdString();
        fitted = fit.fitted();
        EXPECT_TRUE(fit.applyButton()->isEnabled());
        fit.applyButton()->click();
        return fit.result();
    });
    // The peak's inverse, 1000 Hz, Q 1.0 (code 2), -6 dB; nothing boosted.
    EXPECT_EQ(image().record(0, 0), fitted);
    bool cut = false;
    for (const EqBand& band : fitted.eq) {
        EXPECT_LE(band.level, 0);
        cut = cut || (band.frequency == 1000 && band.q == 2 && band.level == -6);
    }
    EXPECT_TRUE(cut);
    EXPECT_EQ(document().side().overlay.smoothing, 0);  // the overlay shows what was fitted
    EXPECT_TRUE(view().plotPreview().empty());
    EXPECT_EQ(run.frame().action(CmdEditUndo)->text(),
              "&Rückgängig: Automatisch anpassen Kanal 1\tStrg+Z");
    ASSERT_TRUE(command(CmdEditUndo));
    view().redrawStep();
    EXPECT_TRUE(sameImage(image(), before));
    EXPECT_EQ(document().side().overlay.smoothing, DefaultSmoothing);
}

// The synthetic two-way speaker of tests/tuning/measurements: its dome sits
// 18 mm ahead of the cone, so the tweeter's channel needs 18 / 3.57 = 5 taps
// more delay than the woofer's for the two to sum in step.
TEST_F(Tuning, UebergangAusrichtenDelaysTheTweeterAndUndoTakesItBack) {
    start();
    EXPECT_FALSE(run.frame().action(CmdAlignCrossover)->isEnabled());
    document().apply("Weiche", [](ParameterImage& settings) {
        ChannelRecord woofer = settings.record(0, 0);
        ChannelRecord tweeter = settings.record(0, 1);
        woofer.lpFrequency = tweeter.hpFrequency = 2300;
        woofer.lpType = tweeter.hpType = FilterLinkwitzRiley24;
        woofer.hpType = tweeter.lpType = FilterOff;
        woofer.input = tweeter.input = 0;
        woofer.delayTaps = tweeter.delayTaps = 0;
        woofer.level = tweeter.level = 0;
        settings.setRecord(0, 0, woofer);
        settings.setRecord(0, 1, tweeter);
    });
    const std::string dir = FILTARO_MEASUREMENTS_DIR;
    filePaths = {dir + "/model-a-woofer.txt"};
    ASSERT_TRUE(command(CmdLoadMeasurement));
    view().channelTabs()->switchToTab(1);
    filePaths = {dir + "/model-a-tweeter.txt"};
    ASSERT_TRUE(command(CmdLoadMeasurement));
    view().redrawStep();
    EXPECT_TRUE(run.frame().action(CmdAlignCrossover)->isEnabled());
    const ParameterImage before = image();
    const std::size_t steps = document().history().size();

    // Abbrechen: nothing changes, no step, the plot as before.
    align([&](AlignDialog& dialog) {
        EXPECT_TRUE(waitForSearch(dialog));
        // The sum as set and the best candidate's, in the colour of Summe L.
        EXPECT_EQ(view().plotPreview().size(), 2u);
        for (const PreviewCurve& curve : view().plotPreview()) EXPECT_EQ(curve.id, PlotSumCurve);
        return static_cast<int>(QDialog::Rejected);
    });
    view().redrawStep();
    EXPECT_TRUE(sameImage(image(), before));
    EXPECT_EQ(document().history().size(), steps);
    EXPECT_TRUE(view().plotPreview().empty());

    align([&](AlignDialog& dialog) {
        EXPECT_TRUE(waitForSearch(dialog));
        EXPECT_EQ(dialog.channels(), (std::vector<int>{0, 1}));
        EXPECT_TRUE(dialog.applyButton()->isEnabled());
        dialog.applyButton()->click();
        return dialog.result();
    });
    EXPECT_EQ(image().record(0, 0).delayTaps, 0);  // held
    EXPECT_EQ(image().record(0, 1).delayTaps, 5);
    EXPECT_TRUE(view().plotPreview().empty());
    EXPECT_EQ(run.frame().action(CmdEditUndo)->text(), "&Rückgängig: Übergang ausrichten\tStrg+Z");
    ASSERT_TRUE(command(CmdEditUndo));
    view().redrawStep();
    EXPECT_TRUE(sameImage(image(), before));
}

}  // namespace
