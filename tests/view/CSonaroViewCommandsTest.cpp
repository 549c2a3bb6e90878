// The preset buttons, the toolbar's channel toggles, the copy commands and the
// graph options of the main view.

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/CCopyChannelDlg.h"
#include "ui/CCopyPresetDlg.h"
#include "ui/CGraphOptionsDlg.h"
#include "view/CommandIds.h"
#include "view/CommandTable.h"
#include "view/ViewCommandFixture.h"

namespace {

QString editText(CChannelPanel& panel, int id) {
    return dynamic_cast<QLineEdit*>(panel.control(id))->text();
}

// Grid point 270 lies at 1002 Hz.
float dbNear1kHz(const ChannelResponse& response) {
    return response.db[270];
}

class EditingCommands : public ViewCommandTest {
protected:
    QAction& toggle(int channel) {
        static constexpr int ids[] = {CmdShowChannel1, CmdShowChannel2, CmdShowChannel3,
                                      CmdShowChannel4, CmdShowChannel5, CmdShowChannel6};
        QAction* action = run.frame().action(ids[channel]);
        EXPECT_NE(action, nullptr);
        return *action;
    }
    // The copy dialog's answer: each pair is one "Kopieren" with that source
    // and target, then "Schließen".
    void answerCopies(std::vector<std::pair<int, int>> copies) {
        run.hook = [copies](QDialog& dialog, int& result) {
            auto* dlg = dynamic_cast<CopyDialogBase*>(&dialog);
            if (!dlg) {
                ADD_FAILURE() << "not a copy dialog";
                return false;
            }
            for (const auto& [source, target] : copies) {
                dlg->controls().setRadioIndex(CopySourceGroupId, source);
                dlg->controls().setRadioIndex(CopyTargetGroupId, target);
                dlg->onOK();
                EXPECT_TRUE(dlg->result() != QDialog::Accepted) << "Kopieren closed the dialog";
            }
            dlg->onCancel();
            result = dlg->result();
            return true;
        };
    }
};

TEST_F(EditingCommands, PresetButtonsChooseWhatPanelsAndPlotShowAndCopyNothing) {
    start();
    for (int p = 0; p < PresetCount; ++p) {
        image().setField(p, 0, ChannelField::hpFrequency, 100 + p);
        image().setField(p, 2, ChannelField::level, p - 3);
    }
    for (int p : {2, 3, 1, 1, 0}) {
        SCOPED_TRACE(p);
        image().setRedrawPending(0);
        const ParameterImage before = image();
        if (p == 3) {
            clickPreset(p);
        } else {
            ASSERT_TRUE(command(CmdPreset1 + p));
        }
        EXPECT_EQ(image().activePreset(), p);
        EXPECT_EQ(image().redrawPending(), 1);
        EXPECT_EQ(checkedPresetButton(), p);
        EXPECT_EQ(view().presetStates()[static_cast<std::size_t>(p)], 0);
        EXPECT_EQ(editText(panel(0), IdHpFrequency), QString::number(100 + p));
        // Nothing but the choice and the flag changed.
        ParameterImage expected = before;
        expected.setActivePreset(p);
        expected.setRedrawPending(1);
        EXPECT_TRUE(sameImage(image(), expected));

        ASSERT_TRUE(view().redrawStep());
        EXPECT_NEAR(dbNear1kHz(view().responses()[2]), p - 3, 1e-4);
    }
}

TEST_F(EditingCommands, ChannelTogglesFlipTheCurveAndRedrawOncePerToggle) {
    start();
    ASSERT_TRUE(view().redrawStep() || image().redrawPending() == 0);
    QAction& five = toggle(4);
    EXPECT_TRUE(five.isCheckable());
    EXPECT_TRUE(five.isChecked());

    five.trigger();  // the click on the toolbar button
    EXPECT_EQ(image().channelShown(4), 0);
    EXPECT_FALSE(five.isChecked());
    EXPECT_TRUE(view().redrawStep());
    EXPECT_FALSE(view().redrawStep());

    five.trigger();
    EXPECT_EQ(image().channelShown(4), 1);
    EXPECT_TRUE(five.isChecked());
    EXPECT_TRUE(view().redrawStep());
    EXPECT_FALSE(view().redrawStep());

    // 32802 lies between the toggles of channels 4 and 5 but is none.
    EXPECT_EQ(findCommand(32802), nullptr);
}

TEST_F(EditingCommands, OnAFourChannelDeviceTheTogglesOfChannels4To6KeepTheirState) {
    start();
    image().setSixChannels(0);  // as after opening such a file
    image().setChannelShown(5, 0);
    run.frame().updateCommandUi();
    EXPECT_TRUE(toggle(5).isChecked());  // not brought to the hidden curve

    toggle(3).trigger();
    EXPECT_EQ(image().channelShown(3), 0);
    EXPECT_TRUE(toggle(3).isChecked());
    EXPECT_EQ(image().redrawPending(), 1);
    toggle(3).trigger();
    EXPECT_EQ(image().channelShown(3), 1);
    EXPECT_TRUE(toggle(3).isChecked());

    // Channels 1 to 3 follow their curve all the same.
    toggle(1).trigger();
    EXPECT_EQ(image().channelShown(1), 0);
    EXPECT_FALSE(toggle(1).isChecked());

    // Back on six channels every button follows again. A byte other than 0
    // or 1 from a file counts as shown, as the plot draws it.
    image().setSixChannels(1);
    image().setChannelShown(2, 5);
    run.frame().updateCommandUi();
    EXPECT_FALSE(toggle(5).isChecked());
    EXPECT_TRUE(toggle(2).isChecked());
    toggle(2).trigger();
    EXPECT_EQ(image().channelShown(2), 0);
    EXPECT_FALSE(toggle(2).isChecked());
}

TEST_F(EditingCommands, CopyChannelCopiesWithinTheActivePresetUntilClosed) {
    start();
    ASSERT_TRUE(command(CmdPreset1 + 1));
    image().setField(1, 2, ChannelField::delayTaps, 77);
    image().setField(1, 2, ChannelField::reserved, -5);
    image().setField(1, 0, ChannelField::lpFrequency, 3000);
    image().setRedrawPending(0);
    const ParameterImage before = image();

    answerCopies({{2, 4}, {0, 1}, {3, 3}});
    ASSERT_TRUE(run.frame().action(CmdCopyChannel) != nullptr);
    run.frame().action(CmdCopyChannel)->trigger();
    EXPECT_EQ(dialogShown(0), "CCopyChannelDlg");

    ParameterImage expected = before;
    expected.setRecord(1, 4, before.record(1, 2));  // all 26 fields, reserved too
    expected.setRecord(1, 1, before.record(1, 0));
    expected.setRedrawPending(1);
    EXPECT_TRUE(sameImage(image(), expected));
    // The panels and the plot show each copy at once, as after an undo.
    EXPECT_EQ(editText(panel(4), IdDelay), "77");
    EXPECT_EQ(editText(panel(1), IdLpFrequency), "3000");
}

TEST_F(EditingCommands, CopyPresetCopiesAllSixChannelsUntilClosed) {
    start();
    for (int c = 0; c < ChannelCount; ++c) {
        image().setField(3, c, ChannelField::hpFrequency, 200 + c);
        image().setField(3, c, ChannelField::reserved, c);
    }
    image().setRedrawPending(0);
    const ParameterImage before = image();

    answerCopies({{3, 0}, {3, 2}});
    ASSERT_TRUE(command(CmdCopyPreset));
    EXPECT_EQ(dialogShown(0), "CCopyPresetDlg");
    ParameterImage expected = before;
    for (int c = 0; c < ChannelCount; ++c) {
        expected.setRecord(0, c, before.record(3, c));
        expected.setRecord(2, c, before.record(3, c));
    }
    expected.setRedrawPending(1);
    EXPECT_TRUE(sameImage(image(), expected));
    EXPECT_EQ(editText(panel(0), IdHpFrequency), "200");  // preset 1 is shown
    EXPECT_EQ(editText(panel(5), IdHpFrequency), "205");
}

TEST_F(EditingCommands, GraphOptionsOkCopiesTheRangeAndMarksARedrawCancelChangesNothing) {
    start();
    image().setRedrawPending(0);
    QString shown;
    auto answer = [&](const char* start, const char* end, bool ok) {
        run.hook = [=, &shown](QDialog& dialog, int& result) {
            auto& dlg = dynamic_cast<CGraphOptionsDlg&>(dialog);
            shown = dlg.startEdit()->text() + ".." + dlg.endEdit()->text();
            dlg.startEdit()->setText(start);
            dlg.endEdit()->setText(end);
            ok ? dlg.onOK() : dlg.onCancel();
            result = dlg.result();
            return true;
        };
    };
    answer("50", "5000", false);
    ASSERT_TRUE(command(CmdGraphOptions));
    EXPECT_EQ(shown, "20..20000");
    EXPECT_EQ(image().plotStartHz(), 20);
    EXPECT_EQ(image().plotEndHz(), 20000);
    EXPECT_EQ(image().redrawPending(), 0);

    answer("10", "600", true);
    ASSERT_TRUE(command(CmdGraphOptions));
    EXPECT_EQ(image().plotStartHz(), 10);
    EXPECT_EQ(image().plotEndHz(), 600);
    EXPECT_EQ(image().redrawPending(), 1);
}

}  // namespace
