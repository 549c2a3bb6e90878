// Send, Receive, the COM port command and the device search of the main view,
// against simulated devices in memory.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "device/DeviceLink.h"
#include "device/WireImage.h"
#include "platform/PrivateProfile.h"
#include "storage/Ini.h"
#include "ui/CComPortDlg.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

const std::string Sending =
    "Daten werden \xC3\xBC"
    "bertragen";
const std::string Receiving = "Daten werden empfangen";
const std::string NotResponding = "Schnittstelle antwortet nicht!";
const std::string TransferTitle =
    "\xC3\x9C"
    "bertragungsfehler";
const std::string Verifying =
    "Gesendete Daten werden gepr\xC3\xBC"
    "ft";
// The warning as it was, and where it starts on a line of its own.
const std::string HeadroomWarning =
    "Equalizer-Level zu hoch! Dies kann zu Verzerrungen f\xC3\xBChren.\nZuerst \xC3\xBC"
    "ber +12 dB: Preset 1, Kanal 3.";

// What the file holds, not the default a missing "Port" stands for.
std::string iniPort() {
    return PrivateProfile::read(IniFileName)
        .value(IniSectionCommunication, IniKeyPort)
        .value_or(std::string());
}

// Channel 3 of `preset` peaks near 1 kHz: two +6 dB bands there and a level
// of `level` dB on top.
void boostChannel3(ParameterImage& image, int preset, int level) {
    for (int e = 0; e < 2; ++e) {
        image.setField(preset, 2, eqFrequencyField(e), 1000);
        image.setField(preset, 2, eqLevelField(e), 6);
    }
    image.setField(preset, 2, ChannelField::level, level);
    image.setRedrawPending(1);
}

class DeviceCommands : public ViewCommandTest {
protected:
    // Drives the COM port dialog: checks what it was preset with, picks
    // `pick` (nullptr: leaves the selection) and presses OK, or cancels.
    void answerComPort(std::string expectedPreset, std::string expectedSelection, const char* pick,
                       bool ok = true) {
        run.hook = [=](QDialog& dialog, int& result) {
            auto* dlg = dynamic_cast<CComPortDlg*>(&dialog);
            if (!dlg) {
                ADD_FAILURE() << "not the COM port dialog";
                return false;
            }
            EXPECT_EQ(dlg->m_strPort.toStdString(), expectedPreset);
            EXPECT_EQ(dlg->portList()->currentText().toStdString(), expectedSelection);
            if (pick) {
                dlg->portList()->setCurrentIndex(dlg->portList()->findText(pick));
            }
            if (ok) {
                dlg->onOK();
            } else {
                dlg->onCancel();
            }
            result = dlg->result();
            return true;
        };
    }
};

TEST_F(DeviceCommands, SendMovesAllPresetsBetweenTwoStatusTexts) {
    attachDevice();
    start();
    image().setField(3, 5, ChannelField::lpType, FilterLinkwitzRiley24);
    image().setField(1, 2, eqLevelField(3), -12);
    image().setField(2, 4, ChannelField::delayTaps, 2801);

    clickSend();
    // The block is read back and found as sent.
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{Sending, Verifying, ""}));
    EXPECT_EQ(run.results, std::vector<std::string>{
                               "Gesendet und geprüft: Gerät und Programm stimmen überein."});
    EXPECT_EQ(run.frame().messagePane()->text().toStdString(), run.results.back());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(run.dialogs.empty());
    EXPECT_EQ(ui.sleeps, std::vector<unsigned>{6000});  // the device stores the block meanwhile
    EXPECT_EQ(ui.waitCursorDepth, 0);
    EXPECT_EQ(line().blocksStored(1), 1);
    EXPECT_EQ(line().memory(1), encodeWireImage(image()));
}

TEST_F(DeviceCommands, HeadroomWarningComesFirstAndTheBlockIsSentAllTheSame) {
    attachDevice();
    start();
    boostChannel3(image(), 0, 1);  // about +13 dB
    ASSERT_TRUE(view().redrawStep());

    ASSERT_TRUE(command(CmdSend));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, HeadroomWarning);
    EXPECT_EQ(ui.messages[0].title, "Achtung");
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{Sending, Verifying, ""}));
    EXPECT_EQ(line().blocksStored(1), 1);
    EXPECT_EQ(line().memory(1), encodeWireImage(image()));

    // The check follows an edit the timer has not drawn yet, in both
    // directions, and leaves the drawing to the timer.
    image().setField(0, 2, ChannelField::level, -2);  // about +10 dB
    image().setRedrawPending(1);
    ui.messages.clear();
    ASSERT_TRUE(command(CmdSend));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(image().redrawPending(), 1);
    ASSERT_TRUE(view().redrawStep());
    EXPECT_EQ(line().blocksStored(1), 2);
    boostChannel3(image(), 0, 1);
    ASSERT_TRUE(command(CmdSend));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(line().blocksStored(1), 3);

    // All four presets are sent, so all four are checked: a boost in preset
    // 3 warns while preset 1 is on screen.
    image().setField(0, 2, ChannelField::level, -2);
    boostChannel3(image(), 2, 1);
    ui.messages.clear();
    ASSERT_TRUE(command(CmdSend));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.ends_with("Preset 3, Kanal 3.")) << ui.messages[0].text;
    EXPECT_EQ(line().blocksStored(1), 4);
}

TEST_F(DeviceCommands, FailedTransfersShowOneMessageRefreshAndClearTheStatus) {
    start();  // no device anywhere; the port is closed
    clickSend();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, NotResponding);
    EXPECT_EQ(ui.messages[0].title, TransferTitle);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{Sending, ""}));
    EXPECT_TRUE(ui.sleeps.empty());

    // A copy made meanwhile shows in the panels after the failed receive;
    // the image itself keeps every value.
    image().setField(0, 4, ChannelField::delayTaps, 123);
    image().setRedrawPending(0);
    ParameterImage before = image();
    ui.messages.clear();
    ui.statusTexts.clear();
    ASSERT_TRUE(command(CmdReceive));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, NotResponding);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{Receiving, ""}));
    before.setRedrawPending(1);
    EXPECT_TRUE(sameImage(image(), before));
    EXPECT_EQ(dynamic_cast<QLineEdit*>(panel(4).control(IdDelay))->text(), "123");
}

TEST_F(DeviceCommands, ComPortReopensAtTheConfiguredRateAndStoresOnlyWhatOpened) {
    attachDevice(3);
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=com3\nBaudrate=19200\n");
    start();
    SimulatedPort& port = line();

    // The stored name in lower case selects its item; OK opens it and stores
    // the list's spelling.
    answerComPort("com3", "COM3", nullptr);
    ASSERT_TRUE(command(CmdComPort));
    EXPECT_EQ(dialogShown(0), "CComPortDlg");
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(port.openPort(), 3);
    EXPECT_EQ(port.baudRate(), 19200);
    EXPECT_EQ(DeviceLink(port).probeDevice(), 0);
    EXPECT_EQ(iniPort(), "COM3");

    // Cancel changes nothing.
    answerComPort("COM3", "COM3", "COM4", false);
    ASSERT_TRUE(command(CmdComPort));
    EXPECT_EQ(port.openPort(), 3);
    EXPECT_EQ(iniPort(), "COM3");

    // A port that does not open: the German -8 message, the port closed, the
    // INI file untouched.
    answerComPort("COM3", "COM3", "COM5");
    ASSERT_TRUE(command(CmdComPort));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, NotResponding);
    EXPECT_EQ(ui.messages[0].title, TransferTitle);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(readFileBytes(IniFileName), "[COMMUNICATION]\nPort=COM3\nBaudrate=19200\n");
}

TEST_F(DeviceCommands, ComPortWithoutOrWithAnUnlistedStoredName) {
    attachDevice();
    start();
    SimulatedPort& port = line();
    // No INI file: the dialog starts from "COM1"; a rate that is no number
    // falls back to 9600.
    answerComPort("COM1", "COM1", nullptr);
    ASSERT_TRUE(command(CmdComPort));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(port.openPort(), 1);
    EXPECT_EQ(port.baudRate(), 9600);
    EXPECT_EQ(iniPort(), "COM1");

    // COM77 is not in the list: nothing is selected and OK gives an empty
    // name, which opens nothing and is not stored.
    writeFileBytes(IniFileName, "[COMMUNICATION]\nPort=COM77\nBaudrate=schnell\n");
    answerComPort("COM77", "", nullptr);
    ASSERT_TRUE(command(CmdComPort));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, NotResponding);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(iniPort(), "COM77");
}

TEST_F(DeviceCommands, DeviceSearchFromTheMenuFindsTheSimulatorOnCom3) {
    attachDevice(3);
    start();  // nothing on COM1: start-up found no device
    QAction* search = run.frame().action(CmdDeviceSearch);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->text(), "&Ger\xC3\xA4t suchen");
    EXPECT_TRUE(search->isEnabled());

    search->trigger();
    EXPECT_EQ(ui.statusTexts,
              (std::vector<std::string>{"Suche an COM 1", "Suche an COM 2", "Suche an COM 3", ""}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ger\xC3\xA4t an Port COM3 gefunden!");
    EXPECT_EQ(ui.messages[0].title, "Erfolg");
    EXPECT_EQ(iniPort(), "COM3");
    EXPECT_EQ(ui.waitCursorDepth, 0);

    // The port stays open on the device: the next send reaches it.
    ui.messages.clear();
    ASSERT_TRUE(command(CmdSend));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(line().blocksStored(3), 1);
}

}  // namespace
