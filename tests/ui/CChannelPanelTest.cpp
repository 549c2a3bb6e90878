#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <memory>

#include "forms/CEditEx.h"
#include "forms/CUpDownCtrl.h"
#include "model/ParameterImage.h"
#include "support/QtTestApp.h"
#include "ui/CChannelPanel.h"

namespace {

class ChannelPanelTest : public ::testing::Test {
protected:
    void SetUp() override { applyDefaults(image); }

    // Creates the panel of `channel`, loaded from the image as it is now.
    CChannelPanel& makePanel(int channel = 0) {
        panel = std::make_unique<CChannelPanel>(&image, channel);
        panel->create(&host);
        image.setRedrawPending(0);
        return *panel;
    }

    QLineEdit* edit(int id) { return dynamic_cast<QLineEdit*>(panel->control(id)); }
    QComboBox* list(int id) { return dynamic_cast<QComboBox*>(panel->control(id)); }
    CUpDownCtrl* spin(int id) { return dynamic_cast<CUpDownCtrl*>(panel->control(id)); }
    QCheckBox* box(int id) { return dynamic_cast<QCheckBox*>(panel->control(id)); }
    QString text(int id) { return edit(id)->text(); }
    QString delayLabel() { return dynamic_cast<QLabel*>(panel->control(IdDelayText))->text(); }

    // What the user does: a pick in a drop-down list (also of the item
    // already selected), a click on a spin arrow, a click on a check box.
    void pick(int id, int index) {
        list(id)->setCurrentIndex(index);
        emit list(id)->activated(index);
    }
    void click(int spinId, bool up) { spin(spinId)->step(up); }

    std::int32_t field(int k, int preset = 0) const { return image.field(preset, channel(), k); }
    std::int32_t field(ChannelField f) const { return field(static_cast<int>(f)); }
    void setField(int k, std::int32_t v) { image.setField(0, channel(), k, v); }
    void setField(ChannelField f, std::int32_t v) { setField(static_cast<int>(f), v); }
    int channel() const { return panel ? panel->m_nChannel : 0; }

    QApplication& app = qtTestApp();  // before any widget
    ParameterImage image;
    QWidget host;
    std::unique_ptr<CChannelPanel> panel;
};

TEST_F(ChannelPanelTest, ShowsTheDefaultRecordInWhiteReadOnlyFields) {
    makePanel();
    EXPECT_EQ(text(IdHpFrequency), "20");
    EXPECT_EQ(text(IdLpFrequency), "150");
    EXPECT_EQ(text(IdInput), "L");
    EXPECT_EQ(delayLabel(), "Taps entsprechen 0.0 mm");
    EXPECT_EQ(list(IdHpType)->currentText(), "Off");
    EXPECT_EQ(list(IdLevel)->currentText(), "0");
    EXPECT_EQ(text(IdEqFrequency[5]), "6000");
    EXPECT_EQ(list(IdEqQ[0])->itemText(3), "2");
    EXPECT_EQ(list(IdEqQ[4])->itemText(3), "2.0");
    EXPECT_EQ(list(IdEqQ[5])->currentText(), "1.0");
    EXPECT_EQ(list(IdEqLevel[0])->count(), 19);
    EXPECT_FALSE(box(IdLowShelf)->isChecked());
    for (int id : std::initializer_list<int>{IdHpFrequency, IdLpFrequency, IdDelay, IdInput,
                                             IdEqFrequency[0], IdEqFrequency[5]}) {
        auto* field = dynamic_cast<CEditEx*>(panel->control(id));
        ASSERT_NE(field, nullptr) << id;
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_EQ(field->backgroundColour(), QColor(Qt::white));
    }
}

TEST_F(ChannelPanelTest, RefreshShowsOddValuesAndWritesNothingButTheDelay) {
    makePanel(2);
    setField(ChannelField::level, 7);
    setField(ChannelField::input, 3);
    setField(ChannelField::delayTaps, 300);
    setField(ChannelField::hpType, 12);
    setField(ChannelField::reserved, 0x5A5A);
    setField(eqQField(0), 21);  // a shelving code on a band that cannot shelve
    setField(eqQField(4), 20);
    setField(eqQField(5), 23);
    setField(eqLevelField(1), -13);
    image.setRedrawPending(0);
    ParameterImage before = image;

    panel->refreshFromImage();

    before.setRedrawPending(1);
    EXPECT_TRUE(before == image);
    // A value no item stands for is an entry of its own that cannot be
    // picked; the input field has no such entry.
    const std::pair<int, QString> unlisted[] = {
        {IdLevel, "7"}, {IdHpType, "Code 12"}, {IdEqQ[0], "#21"}, {IdEqLevel[1], "-13"}};
    for (const auto& [id, shown] : unlisted) {
        QComboBox* l = list(id);
        EXPECT_EQ(l->currentText(), shown);
        EXPECT_EQ(l->currentIndex(), l->count() - 1);
        EXPECT_FALSE(l->itemData(l->currentIndex(), Qt::UserRole - 1).toInt() & Qt::ItemIsEnabled)
            << shown.toStdString();
    }
    EXPECT_EQ(list(IdLevel)->count(), 14);
    EXPECT_TRUE(list(IdEqQ[0])->toolTip().startsWith("Code 21 aus der Datei"));
    EXPECT_EQ(text(IdInput), "");
    EXPECT_FALSE(box(IdLowShelf)->isChecked());
    EXPECT_EQ(list(IdEqQ[4])->currentText(), "10.0");
    EXPECT_TRUE(box(IdHighShelf)->isChecked());
    EXPECT_EQ(list(IdEqQ[5])->count(), 3);
    EXPECT_EQ(list(IdEqQ[5])->currentText(), "0.7");
    EXPECT_EQ(delayLabel(), "Taps entsprechen 1071.0 mm");
    // The same delay as a time: 300 taps of 10.41 µs.
    EXPECT_EQ(dynamic_cast<QLabel*>(panel->control(IdDelayText))->toolTip(),
              "Verzögerung 3.122 ms (1 Tap = 3.57 mm = 10.41 µs)");

    // A number wider than its field shows its start, never a misleading tail
    // ("483647"): the field is scrolled to its first digit.
    setField(ChannelField::hpFrequency, 2147483647);
    setField(eqFrequencyField(2), -2147483647 - 1);
    panel->refreshFromImage();
    host.show();
    for (int id : {static_cast<int>(IdHpFrequency), IdEqFrequency[2]}) {
        QLineEdit* e = edit(id);
        ASSERT_GT(e->fontMetrics().horizontalAdvance(e->text()), e->width()) << "cut in any case";
        EXPECT_EQ(e->cursorPosition(), 0) << e->text().toStdString();
        CEditEx start(&host);  // what its left part must show
        start.setReadOnly(true);
        start.setFrame(e->hasFrame());
        start.setGeometry(e->geometry());
        start.setFont(e->font());
        start.setText(e->text().left(4));
        start.setCursorPosition(0);
        const QRect left(0, 0, e->width() / 2, e->height());
        EXPECT_EQ(e->grab(left).toImage(), start.grab(left).toImage()) << e->text().toStdString();
    }
    host.hide();

    // Edits of other fields leave the odd values as they are.
    pick(IdLpType, 3);
    click(IdEqFrequencySpin[2], true);
    EXPECT_EQ(field(ChannelField::level), 7);
    EXPECT_EQ(field(ChannelField::input), 3);
    EXPECT_EQ(field(eqQField(0)), 21);
    EXPECT_EQ(field(ChannelField::reserved), 0x5A5A);
    EXPECT_EQ(list(IdLevel)->currentText(), "7");
    // Until the user picks a level.
    pick(IdLevel, 0);
    EXPECT_EQ(field(ChannelField::level), 6);
    EXPECT_EQ(list(IdLevel)->count(), 13) << "the file's value is gone";
}

TEST_F(ChannelPanelTest, EachUserActionWritesOnlyItsFieldOfTheActivePreset) {
    image.setActivePreset(2);
    makePanel(1);
    const auto hp = static_cast<int>(ChannelField::hpFrequency);
    const auto delay = static_cast<int>(ChannelField::delayTaps);
    const auto input = static_cast<int>(ChannelField::input);
    struct Case {
        int field;
        std::function<void()> action;
        int stored;
    };
    const Case cases[] = {
        {static_cast<int>(ChannelField::hpType), [&] { pick(IdHpType, 9); }, 9},
        {static_cast<int>(ChannelField::level), [&] { pick(IdLevel, 12); }, -6},
        {eqLevelField(2), [&] { pick(IdEqLevel[2], 18); }, -12},
        {eqQField(3), [&] { pick(IdEqQ[3], 19); }, 20},
        {eqQField(4), [&] { pick(IdEqQ[4], 19); }, 20},        // "10.0" without shelving
        {eqLevelField(0), [&] { pick(IdEqLevel[0], 6); }, 0},  // the item already selected
        {hp, [&] { click(IdHpFrequencySpin, true); }, 21},
        {eqFrequencyField(5), [&] { click(IdEqFrequencySpin[5], true); }, 6500},
        {delay, [&] { click(IdDelaySpin, true); }, 1},
        {input, [&] { click(IdInputSpin, true); }, 1},
    };
    for (const Case& c : cases) {
        ParameterImage before = image;
        image.setRedrawPending(0);
        c.action();
        EXPECT_EQ(image.redrawPending(), 1) << c.field;
        EXPECT_EQ(image.field(2, 1, c.field), c.stored) << c.field;
        before.setRedrawPending(1);
        before.setField(2, 1, c.field, c.stored);
        EXPECT_TRUE(before == image) << "more than field " << c.field << " changed";
    }
}

TEST_F(ChannelPanelTest, FrequencySpinsStepFromTheShownValueWithinTheirRange) {
    makePanel();
    struct Case {
        int spinId;
        ChannelField field;
        int from;
        bool up;
        int to;
    };
    const Case cases[] = {
        {IdLpFrequencySpin, ChannelField::lpFrequency, 50, false, 49},
        {IdLpFrequencySpin, ChannelField::lpFrequency, 5000, true, 5500},
        {IdHpFrequencySpin, ChannelField::hpFrequency, 10000, true, 10000},
        {IdHpFrequencySpin, ChannelField::hpFrequency, 15000, false, 10000},  // from a file
    };
    for (const Case& c : cases) {
        setField(c.field, c.from);
        panel->refreshFromImage();
        click(c.spinId, c.up);
        EXPECT_EQ(field(c.field), c.to) << c.from << (c.up ? " up" : " down");
        EXPECT_EQ(text(c.spinId == IdHpFrequencySpin ? IdHpFrequency : IdLpFrequency),
                  QString::number(c.to));
    }
    setField(eqFrequencyField(3), 20);
    panel->refreshFromImage();
    image.setRedrawPending(0);
    click(IdEqFrequencySpin[3], false);
    EXPECT_EQ(field(eqFrequencyField(3)), 20);
    EXPECT_EQ(image.redrawPending(), 0);  // nothing moved, nothing written
}

TEST_F(ChannelPanelTest, ArrowKeysInAFrequencyFieldStepLikeTheSpin) {
    makePanel();
    setField(eqFrequencyField(0), 195);
    panel->refreshFromImage();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(edit(IdEqFrequency[0]), &up);
    EXPECT_EQ(field(eqFrequencyField(0)), 200);
    QCoreApplication::sendEvent(edit(IdEqFrequency[0]), &up);
    EXPECT_EQ(field(eqFrequencyField(0)), 210);
}

TEST_F(ChannelPanelTest, DelayLimitsPerChannelAndTheirMillimetres) {
    makePanel(3);
    setField(ChannelField::delayTaps, 419);
    panel->refreshFromImage();
    click(IdDelaySpin, true);
    EXPECT_EQ(field(ChannelField::delayTaps), 420);
    EXPECT_EQ(delayLabel(), "Taps entsprechen 1499.4 mm");
    click(IdDelaySpin, true);
    EXPECT_EQ(field(ChannelField::delayTaps), 420);

    makePanel(4);
    setField(ChannelField::delayTaps, 2800);
    panel->refreshFromImage();
    click(IdDelaySpin, true);
    click(IdDelaySpin, true);
    EXPECT_EQ(field(ChannelField::delayTaps), 2801);
    EXPECT_EQ(delayLabel(), "Taps entsprechen 9999.6 mm");

    setField(ChannelField::delayTaps, 1);
    panel->refreshFromImage();
    click(IdDelaySpin, false);
    click(IdDelaySpin, false);
    EXPECT_EQ(field(ChannelField::delayTaps), 0);
    EXPECT_EQ(delayLabel(), "Taps entsprechen 0.0 mm");
}

TEST_F(ChannelPanelTest, InputStepperShowsLabelsAndStartsFromTheShownInput) {
    setField(ChannelField::input, 2);
    makePanel();
    EXPECT_EQ(text(IdInput), "L+R");
    click(IdInputSpin, false);
    EXPECT_EQ(text(IdInput), "R");
    EXPECT_EQ(field(ChannelField::input), 1);
    click(IdInputSpin, false);
    EXPECT_EQ(text(IdInput), "L");
    EXPECT_EQ(field(ChannelField::input), 0);
    click(IdInputSpin, false);  // no wrap
    EXPECT_EQ(field(ChannelField::input), 0);
    EXPECT_EQ(text(IdInput), "L");
}

TEST_F(ChannelPanelTest, ShelfBoxesSetTheirFixedValues) {
    makePanel();
    setField(eqLevelField(4), -5);
    setField(eqLevelField(5), 3);
    panel->refreshFromImage();

    box(IdLowShelf)->click();
    EXPECT_EQ(field(eqFrequencyField(4)), 200);
    EXPECT_EQ(field(eqQField(4)), 22);
    EXPECT_EQ(field(eqLevelField(4)), 0);
    EXPECT_EQ(text(IdEqFrequency[4]), "200");
    EXPECT_EQ(list(IdEqQ[4])->count(), 3);
    EXPECT_EQ(list(IdEqQ[4])->currentText(), "0.5");
    EXPECT_EQ(list(IdEqLevel[4])->currentText(), "0");
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->lower(), 40);
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->upper(), 10000);

    box(IdLowShelf)->click();
    EXPECT_EQ(field(eqFrequencyField(4)), 2000);
    EXPECT_EQ(field(eqQField(4)), 2);
    EXPECT_EQ(list(IdEqQ[4])->count(), 20);
    EXPECT_EQ(list(IdEqQ[4])->currentText(), "1.0");
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->lower(), 20);
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->upper(), 19500);

    box(IdHighShelf)->click();
    EXPECT_EQ(field(eqFrequencyField(5)), 10000);
    EXPECT_EQ(field(eqQField(5)), 22);
    EXPECT_EQ(field(eqLevelField(5)), 0);
    EXPECT_EQ(list(IdEqQ[5])->currentText(), "0.5");
    EXPECT_EQ(spin(IdEqFrequencySpin[5])->lower(), 200);
    EXPECT_EQ(spin(IdEqFrequencySpin[5])->upper(), 15000);
    pick(IdEqQ[5], 0);
    EXPECT_EQ(field(eqQField(5)), 21);
    pick(IdEqQ[5], 2);
    EXPECT_EQ(field(eqQField(5)), 23);
    for (int i = 0; i < 12; ++i) {
        click(IdEqFrequencySpin[5], true);
    }
    EXPECT_EQ(field(eqFrequencyField(5)), 15000);

    box(IdHighShelf)->click();
    EXPECT_EQ(field(eqFrequencyField(5)), 6000);
    EXPECT_EQ(field(eqQField(5)), 2);
    EXPECT_EQ(field(eqLevelField(5)), 0);
}

TEST_F(ChannelPanelTest, NormalQOfTheShelfBandsAndRefreshOfTheirMode) {
    makePanel();
    pick(IdEqQ[4], 19);
    EXPECT_EQ(field(eqQField(4)), 20);
    panel->refreshFromImage();
    EXPECT_FALSE(box(IdLowShelf)->isChecked());
    EXPECT_EQ(list(IdEqQ[4])->currentText(), "10.0");

    // A shelf that the image switches on gets the range of a shelf, and back.
    setField(eqQField(4), 21);
    panel->refreshFromImage();
    EXPECT_TRUE(box(IdLowShelf)->isChecked());
    EXPECT_EQ(list(IdEqQ[4])->currentText(), "0.3");
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->upper(), 10000);
    setField(eqQField(4), 2);
    panel->refreshFromImage();
    EXPECT_FALSE(box(IdLowShelf)->isChecked());
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->lower(), 20);
    EXPECT_EQ(spin(IdEqFrequencySpin[4])->upper(), 19500);
}

TEST_F(ChannelPanelTest, NothingIsWrittenBeforeTheControlsExist) {
    CChannelPanel unbuilt(&image, 0);
    image.setRedrawPending(0);
    const ParameterImage before = image;
    unbuilt.refreshFromImage();
    EXPECT_TRUE(before == image);
    EXPECT_FALSE(unbuilt.isCreated());
}

}  // namespace
