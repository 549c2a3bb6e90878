#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "document/CopyRecords.h"
#include "model/ParameterImage.h"
#include "res/DialogTemplate.h"
#include "support/QtTestApp.h"
#include "support/ScratchDir.h"
#include "ui/CAboutDlg.h"
#include "ui/CComPortDlg.h"
#include "ui/CCopyChannelDlg.h"
#include "ui/CCopyPresetDlg.h"
#include "ui/CWelcomeDlg.h"

namespace {

// Every field of every record distinct, `reserved` included.
ParameterImage numberedImage() {
    ParameterImage image;
    applyDefaults(image);
    for (int p = 0; p < PresetCount; ++p) {
        for (int c = 0; c < ChannelCount; ++c) {
            for (int k = 0; k < ChannelRecordFieldCount; ++k) {
                image.setField(p, c, k, 1000 * p + 100 * c + k);
            }
        }
    }
    image.setRedrawPending(0);
    return image;
}

// What a user does: click a radio button of a group.
void pick(TemplateDialog& dlg, int id) {
    dlg.control<QRadioButton>(id)->click();
}

class CopyDialogTest : public ::testing::Test {
protected:
    void SetUp() override { qtTestApp(); }
    ParameterImage image = numberedImage();
    // The copies the dialogs ask for, done as the window's document does them.
    CopyAction copyChannel() {
        return [this](int source, int target) { copyChannelInActivePreset(image, source, target); };
    }
    CopyAction copyPresets() {
        return [this](int source, int target) { copyPreset(image, source, target); };
    }
};

TEST_F(CopyDialogTest, ChannelCopiesStayOpenAndLeaveRedrawPendingAlone) {
    image.setActivePreset(2);
    const ParameterImage before = image;
    CCopyChannelDlg dlg(copyChannel());
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Kanaldaten kopieren"));
    // Starts with "Kanal 1" onto "Kanal 2".
    EXPECT_EQ(dlg.controls().radioIndex(CopySourceGroupId), 0);
    EXPECT_EQ(dlg.controls().radioIndex(CopyTargetGroupId), 1);

    dlg.show();
    dlg.onOK();
    EXPECT_EQ(image.record(2, 1), before.record(2, 0));
    EXPECT_EQ(image.field(2, 1, ChannelField::reserved), 2005);
    EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open after a copy";

    pick(dlg, 1074);  // source "Kanal 6"
    pick(dlg, 1077);  // target "Kanal 3"
    dlg.onOK();
    EXPECT_EQ(image.record(2, 2), before.record(2, 5));
    EXPECT_EQ(image.record(2, 1), before.record(2, 0)) << "the first copy stays";
    EXPECT_EQ(dlg.m_nSource, 5);
    EXPECT_EQ(dlg.m_nTarget, 2);

    // Only the active preset changed, and nothing asked for a redraw.
    for (int p : {0, 1, 3}) {
        for (int c = 0; c < ChannelCount; ++c) {
            EXPECT_EQ(image.record(p, c), before.record(p, c));
        }
    }
    EXPECT_EQ(image.redrawPending(), 0);
    EXPECT_EQ(image.tabMarker(), before.tabMarker());

    dlg.control<QPushButton>(IdCancel)->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(CopyDialogTest, OntoItselfOrOutsideTheImageChangesNothing) {
    const ParameterImage before = image;
    CCopyChannelDlg dlg(copyChannel());
    pick(dlg, 1071);
    pick(dlg, 1077);  // "Kanal 3" onto "Kanal 3"
    dlg.onOK();
    EXPECT_EQ(image, before);

    // An active preset from a foreign file that names no preset: the
    // record of "nowhere" would read as zeros; nothing may be overwritten.
    image.setActivePreset(7);
    const ParameterImage odd = image;
    EXPECT_FALSE(copyChannelInActivePreset(image, 0, 1));
    EXPECT_FALSE(copyChannelInActivePreset(image, -1, 1));
    image.setActivePreset(0);
    EXPECT_FALSE(copyChannelInActivePreset(image, 0, 6));
    EXPECT_FALSE(copyPreset(image, 4, 0));
    EXPECT_FALSE(copyPreset(image, 0, -1));
    image.setActivePreset(7);
    EXPECT_EQ(image, odd);
}

TEST_F(CopyDialogTest, FourChannelDeviceStillOffersChannelsFiveAndSix) {
    image.setSixChannels(0);
    CCopyChannelDlg dlg(copyChannel());
    ASSERT_NE(dlg.control<QRadioButton>(1073), nullptr);
    EXPECT_EQ(dlg.control<QRadioButton>(1074)->text(), QString("Kanal 6"));
    EXPECT_TRUE(dlg.control<QRadioButton>(1080)->isEnabled());
}

TEST_F(CopyDialogTest, PresetCopiesWholePresetsSeveralTimes) {
    const ParameterImage before = image;
    CCopyPresetDlg dlg(copyPresets());
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Presetdaten kopieren"));
    EXPECT_EQ(dlg.control<QPushButton>(IdOk)->text(), QString("Kopieren"));
    EXPECT_EQ(dlg.control<QPushButton>(IdCancel)->text(), QString::fromUtf8("Schließen"));
    dlg.onOK();  // "Preset 1" onto "Preset 2"
    pick(dlg, 1072);
    pick(dlg, 1075);  // "Preset 4" onto "Preset 1"
    dlg.onOK();
    for (int c = 0; c < ChannelCount; ++c) {
        EXPECT_EQ(image.record(1, c), before.record(0, c));
        EXPECT_EQ(image.record(0, c), before.record(3, c));
        EXPECT_EQ(image.record(2, c), before.record(2, c));
        EXPECT_EQ(image.record(3, c), before.record(3, c));
    }
    EXPECT_EQ(image.redrawPending(), 0);
    EXPECT_EQ(image.activePreset(), before.activePreset());
}

class ComPortDialogTest : public ::testing::Test {
protected:
    void SetUp() override { qtTestApp(); }
    QString selectedFor(const QString& stored) {
        CComPortDlg dlg(&image);
        dlg.m_strPort = stored;
        dlg.ensureInitDialog();
        return dlg.portList()->currentText();
    }
    ParameterImage image;
};

TEST_F(ComPortDialogTest, ListAndSelection) {
    CComPortDlg dlg(&image);
    EXPECT_EQ(dlg.windowTitle(), QString("COM Port"));
    EXPECT_EQ(dlg.m_strPort, QString("COM1"));
    ASSERT_EQ(dlg.portList()->count(), 253);
    EXPECT_EQ(dlg.portList()->itemText(0), QString("COM1"));
    EXPECT_EQ(dlg.portList()->itemText(252), QString("COM256"));

    EXPECT_EQ(selectedFor("com20"), QString("COM20"));
    EXPECT_EQ(selectedFor("COM178"), QString("COM178"));
}

TEST_F(ComPortDialogTest, TheListDropsDownAtItsTemplateHeightWithAScrollBar) {
    CComPortDlg dlg(&image);
    dlg.show();
    QComboBox* list = dlg.portList();
    list->showPopup();
    const QWidget* popup = list->view()->window();
    ASSERT_TRUE(popup->isVisible());
    // The list's rectangle in the template is 113 dialog units high, closed
    // part included; the 253 names scroll inside it.
    EXPECT_LE(popup->height(), dluToPixelsY(113));
    EXPECT_GE(popup->height(), 5 * list->view()->sizeHintForRow(0));
    EXPECT_TRUE(list->view()->verticalScrollBar()->isVisible());
    list->hidePopup();
}

TEST_F(ComPortDialogTest, OkTakesTheSelectionCancelKeepsTheName) {
    {
        CComPortDlg dlg(&image);
        dlg.m_strPort = "com3";
        dlg.onOK();  // initialises first when it never was shown
        EXPECT_EQ(dlg.m_strPort, QString("COM3"));
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    {
        CComPortDlg dlg(&image);
        dlg.m_strPort = "COM77";
        dlg.show();
        EXPECT_EQ(dlg.portList()->currentIndex(), -1);
        dlg.onOK();
        EXPECT_EQ(dlg.m_strPort, QString()) << "nothing selected gives an empty name";
    }
    {
        CComPortDlg dlg(&image);
        dlg.m_strPort = "COM4";
        dlg.show();
        dlg.portList()->setCurrentIndex(9);  // the user picks COM10 ...
        dlg.reject();                        // ... and presses Escape
        EXPECT_EQ(dlg.m_strPort, QString("COM4"));
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
}

TEST_F(ComPortDialogTest, MovingTheBoxMarksTheTabState) {
    CComPortDlg dlg(&image);
    dlg.show();
    image.setTabMarker(0);
    dlg.move(dlg.pos() + QPoint(30, 20));
    EXPECT_EQ(image.tabMarker(), 1);
    EXPECT_EQ(image.redrawPending(), 0);

    CComPortDlg loose(nullptr);  // no image: a move is harmless
    loose.show();
    loose.move(loose.pos() + QPoint(5, 5));
}

TEST(About, ShowsTheConfiguredBaudRateOr9600) {
    qtTestApp();
    ScratchDir dir(true);  // no FILTARO.INI
    {
        CAboutDlg dlg(nullptr);
        EXPECT_EQ(dlg.m_strBaudrate, "Baudrate = 9600");
        EXPECT_EQ(dlg.control<QLabel>(CAboutDlg::BaudrateControlId)->text(), "Baudrate = 9600");
        // The build's own version, the project's, below the device program's.
        EXPECT_TRUE(dlg.control<QLabel>(CAboutDlg::VersionControlId)
                        ->text()
                        .startsWith("Programmversion " FILTARO_PROJECT_VERSION));
    }
    writeFileBytes("FILTARO.INI", "[COMMUNICATION]\r\nPort=COM3\r\nBaudrate=19200\r\n");
    {
        CAboutDlg dlg(nullptr);
        EXPECT_EQ(dlg.control<QLabel>(CAboutDlg::BaudrateControlId)->text(), "Baudrate = 19200");
    }
    writeFileBytes("FILTARO.INI", "[COMMUNICATION]\r\nBaudrate=schnell\r\n");
    {
        CAboutDlg dlg(nullptr);
        EXPECT_EQ(dlg.m_strBaudrate, "Baudrate = 9600");
    }
}

TEST(WelcomeDialog, WhiteBoxWithTheCallersMessage) {
    qtTestApp();
    CWelcomeDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QString("Filtaro"));
    EXPECT_EQ(dlg.size(), QSize(321, 260));  // 214 x 160 dialog units
    EXPECT_EQ(dlg.m_strMessage, QString());
    dlg.m_strMessage =
        QString::fromUtf8("Bitte erst Hardware anschließen und Programm neu starten.");
    dlg.show();
    EXPECT_EQ(dlg.messageText(), dlg.m_strMessage);

    const QImage shot = dlg.grab().toImage();
    for (QPoint p : {QPoint(2, 2), QPoint(318, 257), QPoint(5, 170), QPoint(160, 250)}) {
        EXPECT_EQ(shot.pixel(p) | 0xFF000000u, qRgb(255, 255, 255)) << p.x() << "," << p.y();
    }
    // Both pictures are in place at their sizes.
    int pictures = 0;
    for (QWidget* w : dlg.controls().all()) {
        if (auto* label = dynamic_cast<QLabel*>(w); label && !label->pixmap().isNull()) {
            ++pictures;
            EXPECT_TRUE(label->size() == QSize(300, 96) || label->size() == QSize(120, 20));
        }
    }
    EXPECT_EQ(pictures, 2);
    dlg.onOK();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

}  // namespace
