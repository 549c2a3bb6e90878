#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "forms/CEditEx.h"
#include "forms/CUpDownCtrl.h"
#include "forms/DialogBuilder.h"
#include "res/DialogTemplates.h"
#include "res/FontFamily.h"
#include "support/QtTestApp.h"

namespace {

class BuilderTest : public ::testing::Test {
protected:
    QApplication& app = qtTestApp();  // before any widget member
    QWidget host;
};

TEST_F(BuilderTest, MainFormControlsAtTheirPixelGeometry) {
    QWidget* form = new QWidget(&host);
    const DialogControls c = DialogBuilder(mainFormTemplate).build(form);
    EXPECT_EQ(form->size(), QSize(879, 484));  // 586 x 298 dialog units
    EXPECT_EQ(c.all().size(), mainFormTemplate.rows.size());
    EXPECT_EQ(c.control(1123)->geometry(), QRect(11, 11, 612, 462));
    EXPECT_EQ(c.control(1001)->geometry(), QRect(636, 418, 83, 55));
    EXPECT_EQ(c.get<QTabWidget>(1023)->geometry(), QRect(557, 11, 312, 345));
    EXPECT_EQ(c.get<QGroupBox>(1049)->title(), QString("Preset"));
    EXPECT_EQ(c.get<QRadioButton>(1028)->geometry(), QRect(827, 384, 30, 16));
    EXPECT_EQ(c.control(UnnamedControl), nullptr);
    EXPECT_EQ(c.control(4711), nullptr);
    // The plot placeholder is a grey rectangle.
    EXPECT_TRUE(c.get<QFrame>(1123)->autoFillBackground());
    EXPECT_EQ(form->font().family(), QString("Liberation Sans"));
    EXPECT_EQ(form->font().pixelSize(), 11);
}

TEST_F(BuilderTest, PresetButtonsAreGroupsOfTheirOwn) {
    const DialogControls c = DialogBuilder(mainFormTemplate).build(&host);
    for (int id : {1025, 1026, 1027, 1028}) {
        ASSERT_NE(c.radioGroup(id), nullptr) << id;
        EXPECT_EQ(c.radioGroup(id)->buttons().size(), 1);
    }
    c.get<QRadioButton>(1025)->click();
    c.get<QRadioButton>(1026)->click();
    // Separate groups: the view, not the buttons, unchecks the others.
    EXPECT_TRUE(c.get<QRadioButton>(1025)->isChecked());
    EXPECT_TRUE(c.get<QRadioButton>(1026)->isChecked());
}

TEST_F(BuilderTest, RadioGroupsRunToTheNextGroupMark) {
    const DialogControls c = DialogBuilder(copyChannelTemplate).build(&host);
    ASSERT_NE(c.radioGroup(1069), nullptr);
    ASSERT_NE(c.radioGroup(1075), nullptr);
    EXPECT_EQ(c.radioGroup(1070), nullptr);
    EXPECT_EQ(c.radioGroup(1069)->buttons().size(), 6);
    EXPECT_EQ(c.radioGroup(1075)->buttons().size(), 6);
    EXPECT_EQ(c.radioIndex(1069), -1);
    c.setRadioIndex(1069, 4);
    EXPECT_TRUE(c.get<QRadioButton>(1073)->isChecked());
    c.get<QRadioButton>(1070)->click();
    EXPECT_EQ(c.radioIndex(1069), 1);
    EXPECT_FALSE(c.get<QRadioButton>(1073)->isChecked());
    EXPECT_EQ(c.radioIndex(1075), -1) << "the other group is untouched";
    c.setRadioIndex(1069, -1);
    EXPECT_EQ(c.radioIndex(1069), -1);
    EXPECT_EQ(c.radioIndex(4711), -1);
}

TEST_F(BuilderTest, SubstitutesGetTheSetUpOfTheirKind) {
    DialogBuilder builder(channelPanelTemplate);
    builder.use<CEditEx>(1017).use<CEditEx>(1019);
    int madeFor = 0;
    builder.substitute(1024, [&madeFor](const ControlRow& row, QWidget* parent) {
        madeFor = row.id;
        return new CEditEx(parent);
    });
    const DialogControls c = builder.build(&host);
    EXPECT_EQ(madeFor, 1024);
    auto* hp = c.get<CEditEx>(1017);
    ASSERT_NE(hp, nullptr);
    EXPECT_TRUE(hp->isReadOnly());
    EXPECT_EQ(hp->parentWidget(), &host);
    EXPECT_NE(c.get<CEditEx>(1024), nullptr);
    EXPECT_EQ(c.get<CEditEx>(1030), nullptr) << "not substituted: a plain QLineEdit";
    EXPECT_NE(c.get<QLineEdit>(1030), nullptr);
}

TEST_F(BuilderTest, SpinsSitAtTheRightEdgeOfTheirEdit) {
    const DialogControls c = DialogBuilder(channelPanelTemplate).build(&host);
    // HP frequency: edit 25,8 35x12 -> 38,13 53x20; the spin is 9 dlu = 14 px
    // wide and overlaps the edit's border by 2 pixels.
    auto* spin = c.get<CUpDownCtrl>(1040);
    auto* edit = c.get<QLineEdit>(1017);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->buddy(), edit);
    EXPECT_EQ(spin->geometry(), QRect(77, 13, 14, 20));
    EXPECT_EQ(edit->geometry(), QRect(38, 13, 41, 20));
    for (int id : {1041, 1043, 1067, 1052, 1051, 1050, 1053, 1061, 1064}) {
        auto* s = c.get<CUpDownCtrl>(id);
        ASSERT_NE(s, nullptr) << id;
        ASSERT_NE(s->buddy(), nullptr) << id;
        EXPECT_EQ(s->geometry().right(), s->buddy()->geometry().right() + s->width() - 2) << id;
        EXPECT_EQ(s->y(), s->buddy()->y()) << id;
    }
}

TEST_F(BuilderTest, ListsTakeTheirClosedHeightAndPicturesTheirOwnSize) {
    const DialogControls c = DialogBuilder(comPortTemplate).build(&host);
    auto* list = c.get<QComboBox>(1007);
    EXPECT_EQ(list->geometry(), QRect(99, 20, 74, DropListClosedHeight));
    EXPECT_EQ(list->maxVisibleItems(), 12);  // 184 px dropped down
    EXPECT_TRUE(c.get<QPushButton>(IdOk)->isDefault());
    EXPECT_FALSE(c.get<QPushButton>(IdCancel)->isDefault());
    EXPECT_EQ(c.get<QPushButton>(IdCancel)->text(), QString("&Abbrechen"));
    const auto* label = dynamic_cast<QLabel*>(c.all().front());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("COM Port:"));
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);

    QWidget other;
    const DialogControls w = DialogBuilder(welcomeTemplate).build(&other);
    EXPECT_EQ(w.all()[1]->geometry(), QRect(11, 39, 300, 96));    // bitmap 165 at 7,24
    EXPECT_EQ(w.all()[2]->geometry(), QRect(105, 143, 120, 20));  // bitmap 161 at 70,88
}

TEST_F(BuilderTest, TopLevelParentGetsCaptionAndFixedSize) {
    QWidget dialog;
    DialogBuilder(graphOptionsTemplate).build(&dialog);
    EXPECT_EQ(dialog.windowTitle(), QString("Grafikoptionen"));
    EXPECT_EQ(dialog.minimumSize(), QSize(183, 140));
    EXPECT_EQ(dialog.maximumSize(), QSize(183, 140));
}

TEST(DialogFonts, WindowsNamesResolveToLiberationSans) {
    qtTestApp();
    EXPECT_EQ(resolveFontFamily("Arial"), QString("Liberation Sans"));
    EXPECT_EQ(resolveFontFamily("MS Sans Serif"), QString("Liberation Sans"));
    EXPECT_EQ(resolveFontFamily("Courier New"), QString("Courier New"));
    const QFont f = dialogFont("MS Sans Serif", 8);
    EXPECT_EQ(f.pixelSize(), 11);
    EXPECT_EQ(QFontInfo(f).family(), QString("Liberation Sans")) << "fonts-liberation installed?";
}

}  // namespace
