#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "forms/CEditEx.h"
#include "forms/CUpDownCtrl.h"
#include "support/QtTestApp.h"

namespace {

QColor pixelAt(QWidget& w, int x, int y) {
    return w.grab().toImage().pixelColor(x, y);
}

TEST(EditEx, ReadOnlyFieldIsWhiteUnlessMarkedUsed) {
    qtTestApp();
    CEditEx edit;
    edit.setReadOnly(true);
    edit.resize(53, 20);
    EXPECT_EQ(edit.backgroundColour(), QColor(255, 255, 255));
    EXPECT_EQ(pixelAt(edit, 26, 10), qRgb(255, 255, 255));

    // "disabled" is recorded but paints like a normal field.
    EXPECT_FALSE(edit.setDisabledState(true));
    EXPECT_TRUE(edit.isMarkedDisabled());
    EXPECT_EQ(pixelAt(edit, 26, 10), qRgb(255, 255, 255));

    EXPECT_FALSE(edit.setUsedState(true));
    EXPECT_EQ(edit.backgroundColour(), QColor(128, 255, 255));
    EXPECT_EQ(pixelAt(edit, 26, 10), qRgb(128, 255, 255));
    EXPECT_EQ(edit.palette().color(QPalette::Inactive, QPalette::Text), QColor(0, 0, 0));

    EXPECT_FALSE(edit.setUsedState(false));
    EXPECT_EQ(pixelAt(edit, 26, 10), qRgb(255, 255, 255));
}

class UpDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        edit = new QLineEdit(&host);
        edit->setGeometry(10, 10, 53, 20);
        spin = new CUpDownCtrl(&host);
        spin->resize(14, 20);
        spin->setBuddy(edit, true);
        spin->setBuddyInt(true);
        spin->setArrowKeys(true);
        spin->setRange(15, 10000);
        QObject::connect(spin, &CUpDownCtrl::deltaPos, [this](UpDownChange& c) {
            proposals.push_back(c);
            if (replaceWith != 0) {
                c.delta = replaceWith;
            }
            c.cancel = refuse;
        });
    }
    void key(Qt::Key k) { QTest::keyClick(edit, k); }
    void click(bool up) { QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(7, up ? 3 : 17)); }

    QApplication& app = qtTestApp();  // before any widget member
    QWidget host;
    QLineEdit* edit = nullptr;
    CUpDownCtrl* spin = nullptr;
    std::vector<UpDownChange> proposals;
    int replaceWith = 0;
    bool refuse = false;
};

TEST_F(UpDownTest, StepsFromTheBuddysNumberAndWritesItBack) {
    edit->setText("49");
    click(true);
    ASSERT_EQ(proposals.size(), 1u);
    EXPECT_EQ(proposals[0].pos, 49);
    EXPECT_EQ(proposals[0].delta, 1);
    EXPECT_EQ(edit->text(), QString("50"));
    click(false);
    EXPECT_EQ(proposals[1].delta, -1);
    EXPECT_EQ(edit->text(), QString("49"));
    key(Qt::Key_Up);
    EXPECT_EQ(edit->text(), QString("50"));
    key(Qt::Key_Down);
    EXPECT_EQ(edit->text(), QString("49"));
    EXPECT_EQ(proposals.size(), 4u);
}

TEST_F(UpDownTest, ReceiverReplacesOrRefusesTheStepAndTheRangeClamps) {
    edit->setText("5000");
    replaceWith = 500;
    click(true);
    EXPECT_EQ(edit->text(), QString("5500"));
    edit->setText("9800");
    click(true);  // 10300 clamps to the upper end
    EXPECT_EQ(edit->text(), QString("10000"));
    EXPECT_EQ(spin->pos(), 10000);
    // At the end the proposal still arrives; the text stays.
    int changes = 0;
    QObject::connect(spin, &CUpDownCtrl::positionChanged, [&changes](int) { ++changes; });
    click(true);
    EXPECT_EQ(proposals.back().pos, 10000);
    EXPECT_EQ(changes, 0);
    replaceWith = 0;
    refuse = true;
    click(false);
    EXPECT_EQ(edit->text(), QString("10000"));
    EXPECT_EQ(changes, 0);
}

TEST_F(UpDownTest, ALabelInTheBuddyStepsFromTheControlsOwnPosition) {
    spin->setRange(0, 2);
    spin->setPos(1);
    EXPECT_EQ(edit->text(), QString("1"));
    edit->setText("R");
    click(true);
    EXPECT_EQ(edit->text(), QString("2"));
    edit->setText("L+R");
    click(true);  // already at the top: nothing changes, no wrap
    EXPECT_EQ(edit->text(), QString("L+R"));
    edit->setText("7");  // out of range: ignored as well
    click(false);
    EXPECT_EQ(edit->text(), QString("1"));
}

TEST_F(UpDownTest, AlignsToTheBuddyKeepingItsOuterRectangle) {
    EXPECT_EQ(edit->geometry(), QRect(10, 10, 41, 20));
    EXPECT_EQ(spin->geometry(), QRect(49, 10, 14, 20));
}

TEST_F(UpDownTest, DisabledOrWithoutArrowKeysDoesNotStep) {
    edit->setText("100");
    spin->setArrowKeys(false);
    key(Qt::Key_Up);
    EXPECT_EQ(edit->text(), QString("100"));
    spin->setEnabled(false);
    spin->step(true);
    EXPECT_EQ(edit->text(), QString("100"));
    EXPECT_TRUE(proposals.empty());
}

}  // namespace
