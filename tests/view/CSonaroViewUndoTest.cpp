// Undo and redo of every change of the settings, through the whole program:
// the edits in the panels, the copies, the plot's range, New, Open, a
// receive and taking the device's settings.

#include <QApplication>
#include <QTest>
#include <functional>

#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "model/SettingsEdit.h"
#include "storage/ParameterFile.h"
#include "ui/CCopyChannelDlg.h"
#include "ui/CCopyPresetDlg.h"
#include "ui/CGraphOptionsDlg.h"
#include "ui/CompareDialog.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

namespace fs = std::filesystem;

// Settings unlike the defaults in every preset.
ParameterImage distinctSettings(int seed) {
    ParameterImage image;
    applyDefaults(image);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            image.setField(p, c, ChannelField::level, (seed + p + c) % 7 - 3);
            image.setField(p, c, eqLevelField(c % EqBandCount), -1 - (seed + p) % 5);
        }
    }
    return image;
}

class Undo : public ViewCommandTest {
protected:
    QAction& undoAction() { return *run.frame().action(CmdEditUndo); }
    QAction& redoAction() { return *run.frame().action(CmdEditRedo); }
    // Everything but the redraw flag, which is of no meaning to a step.
    static ::testing::AssertionResult sameState(ParameterImage actual, ParameterImage expected) {
        actual.setRedrawPending(0);
        expected.setRedrawPending(0);
        return sameImage(actual, expected);
    }
};

TEST_F(Undo, PanelEditsAreNamedStepsAndASpinHeldDownIsOne) {
    start();
    const ParameterImage atStart = image();
    EXPECT_FALSE(undoAction().isEnabled());
    EXPECT_FALSE(redoAction().isEnabled());

    pick(panel(1), IdEqLevel[2], QStringLiteral("3"));
    view().redrawStep();
    EXPECT_EQ(undoAction().text(), "&Rückgängig: EQ3 Pegel Kanal 2\tStrg+Z");
    EXPECT_EQ(undoAction().toolTip(), "Rückgängig: EQ3 Pegel Kanal 2");

    // A spin held down steps many times, with redraws in between: one step.
    for (int i = 0; i < 5; ++i) {
        stepSpin(panel(0), IdHpFrequencySpin, true);
        view().redrawStep();
    }
    const QString spun = shown(panel(0), IdHpFrequency);
    ASSERT_NE(spun, "20");
    const ParameterImage atEnd = image();
    EXPECT_EQ(undoAction().text(), "&Rückgängig: Hochpass-Frequenz Kanal 1\tStrg+Z");

    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(image().field(0, 0, ChannelField::hpFrequency), 20);
    EXPECT_EQ(shown(panel(0), IdHpFrequency), "20");
    EXPECT_EQ(image().redrawPending(), 1) << "the plot follows";
    EXPECT_EQ(undoAction().text(), "&Rückgängig: EQ3 Pegel Kanal 2\tStrg+Z");
    EXPECT_EQ(redoAction().text(), "&Wiederholen: Hochpass-Frequenz Kanal 1\tStrg+Y");
    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_TRUE(sameState(image(), atStart));
    EXPECT_EQ(shown(panel(1), IdEqLevel[2]), "0");
    EXPECT_FALSE(undoAction().isEnabled());
    EXPECT_EQ(undoAction().text(), "&Rückgängig\tStrg+Z");

    ASSERT_TRUE(command(CmdEditRedo));
    ASSERT_TRUE(command(CmdEditRedo));
    EXPECT_TRUE(sameState(image(), atEnd));
    EXPECT_EQ(shown(panel(0), IdHpFrequency), spun);
    EXPECT_FALSE(redoAction().isEnabled());

    // Back to where it started by hand: no step is left of it.
    pick(panel(2), IdLevel, QStringLiteral("2"));
    view().redrawStep();
    pick(panel(2), IdLevel, QStringLiteral("0"));
    view().redrawStep();
    EXPECT_EQ(undoAction().text(), "&Rückgängig: Hochpass-Frequenz Kanal 1\tStrg+Z");
}

TEST_F(Undo, TheKeysUndoInAPanelFieldToo) {
    start();
    QApplication::setActiveWindow(&run.frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&run.frame()));
    auto* edit = dynamic_cast<QLineEdit*>(panel(0).control(IdDelay));
    edit->setFocus();
    stepSpin(panel(0), IdDelaySpin, true);
    stepSpin(panel(0), IdDelaySpin, true);
    view().redrawStep();
    ASSERT_EQ(image().field(0, 0, ChannelField::delayTaps), 2);
    EXPECT_EQ(undoAction().text(), "&Rückgängig: Verzögerung Kanal 1\tStrg+Z");

    // The field's own undo does not take the key, even where a field takes
    // typing.
    edit->setReadOnly(false);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(image().field(0, 0, ChannelField::delayTaps), 0);
    EXPECT_EQ(edit->text(), "0");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(image().field(0, 0, ChannelField::delayTaps), 2);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "2");
}

TEST_F(Undo, EveryKindOfChangeIsUndoneAndRedoneWhole) {
    // The device holds settings of its own, and a file lies ready.
    const ParameterImage device = distinctSettings(1);
    line().attachDevice(1, {}, encodeWireImage(device));
    start();
    const std::string kino = run.dir.file("Kino.dat");
    ASSERT_EQ(saveParameterFile(distinctSettings(4), kino), 0);
    const std::string startFile = document().fileName();

    run.hook = [](QDialog& dialog, int& result) {
        if (auto* copy = dynamic_cast<CopyDialogBase*>(&dialog)) {
            const bool presets = dynamic_cast<CCopyPresetDlg*>(&dialog) != nullptr;
            copy->controls().setRadioIndex(CopySourceGroupId, 0);
            copy->controls().setRadioIndex(CopyTargetGroupId, presets ? 2 : 3);
            copy->onOK();
            result = QDialog::Rejected;  // "Schließen"
            return true;
        }
        if (auto* range = dynamic_cast<CGraphOptionsDlg*>(&dialog)) {
            range->ensureInitDialog();
            range->startEdit()->setText(QStringLiteral("50"));
            range->onOK();
            result = range->result();
            return true;
        }
        if (auto* compare = dynamic_cast<CompareDialog*>(&dialog)) {
            compare->onTake();
            result = compare->result();
            return true;
        }
        return false;
    };

    struct Change {
        const char* step;
        std::function<void()> make;
    };
    const Change changes[] = {
        {"Preset 1 nach Preset 3 kopieren", [&] { command(CmdCopyPreset); }},
        {"Kanal 1 nach Kanal 4 kopieren", [&] { command(CmdCopyChannel); }},
        {"Grafikoptionen", [&] { command(CmdGraphOptions); }},
        {"Öffnen von Kino.dat",
         [&] {
             filePaths.push_back(kino);
             command(CmdFileOpen);
         }},
        {"Einstellungen des Geräts übernehmen", [&] { command(CmdCompareDevice); }},
        {"Neu", [&] { command(CmdFileNew); }},
        {"Empfangen", [&] { command(CmdReceive); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.step);
        const ParameterImage before = image();
        const std::string fileBefore = document().fileName();
        const QString titleBefore = title();
        change.make();
        const ParameterImage after = image();
        ASSERT_FALSE(sameState(after, before)) << "the change changed nothing";
        EXPECT_EQ(undoAction().text(), QStringLiteral("&Rückgängig: %1\tStrg+Z").arg(change.step));

        ASSERT_TRUE(command(CmdEditUndo));
        EXPECT_TRUE(sameState(image(), before));
        EXPECT_EQ(document().fileName(), fileBefore);
        EXPECT_EQ(title(), titleBefore);
        EXPECT_EQ(checkedPresetButton(), before.activePreset());
        EXPECT_EQ(shown(panel(3), IdLevel),
                  QString::number(before.field(before.activePreset(), 3, ChannelField::level)));

        ASSERT_TRUE(command(CmdEditRedo));
        EXPECT_TRUE(sameState(image(), after));
        EXPECT_EQ(shown(panel(3), IdLevel),
                  QString::number(after.field(after.activePreset(), 3, ChannelField::level)));
    }
    EXPECT_TRUE(sameState(image(), [&] {
        ParameterImage received = image();
        decodeWireImage(encodeWireImage(device), received);
        return received;
    }()));

    // Undoing back past the Open puts back the file the settings belong to:
    // the save at program end does not write them over Kino.dat.
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(document().fileName(), startFile);
    EXPECT_EQ(title(), "Klarwelle Filtaro");
    run.end();
    ParameterImage onDisk;
    ASSERT_EQ(loadParameterFile(onDisk, kino), 1);
    EXPECT_TRUE(sameSettings(onDisk, distinctSettings(4)));
}

TEST_F(Undo, AnUndoShowsThePresetOfTheChangeAndKeepsTheCurvesShown) {
    start();
    clickPreset(1);
    pick(panel(0), IdLevel, QStringLiteral("-4"));
    view().redrawStep();
    clickPreset(3);
    ASSERT_TRUE(command(CmdShowChannel5));
    ASSERT_EQ(image().channelShown(4), 0);

    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(image().activePreset(), 1);
    EXPECT_EQ(checkedPresetButton(), 1);
    EXPECT_EQ(image().field(1, 0, ChannelField::level), 0);
    EXPECT_EQ(shown(panel(0), IdLevel), "0");
    EXPECT_EQ(image().channelShown(4), 0) << "hiding a curve is no step and stays";

    clickPreset(0);
    ASSERT_TRUE(command(CmdEditRedo));
    EXPECT_EQ(checkedPresetButton(), 1);
    EXPECT_EQ(shown(panel(0), IdLevel), "-4");
}

}  // namespace
