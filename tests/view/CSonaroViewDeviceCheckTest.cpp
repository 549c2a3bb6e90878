// What the window does to know what is on the device: the check before a
// send, the comparison with the device, and the check after a send, against
// simulated devices in memory.

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "device/DeviceCompare.h"
#include "device/PreSendCheck.h"
#include "device/WireImage.h"
#include "storage/Backups.h"
#include "storage/Ini.h"
#include "storage/ParameterFile.h"
#include "storage/ProgramOptions.h"
#include "ui/CompareDialog.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

const std::string Sending =
    "Daten werden \xC3\xBC"
    "bertragen";

// What the compare dialogs showed.
struct ShownComparison {
    QString title;
    QString text;
    QStringList rows;  // "preset|channel|setting|here|device"
    bool offersTake = false;
};

class DeviceCheck : public ViewCommandTest {
protected:
    // Answers each compare dialog after noting what it shows; `take` presses
    // the button that takes the device's settings.
    void answerComparisons(bool take = false) {
        run.hook = [this, take](QDialog& dialog, int& result) {
            auto* compare = dynamic_cast<CompareDialog*>(&dialog);
            if (!compare) return false;
            ShownComparison shown{compare->windowTitle(),
                                  compare->textLabel()->text(),
                                  {},
                                  compare->takeButton() != nullptr};
            if (QTableWidget* table = compare->table()) {
                for (int r = 0; r < table->rowCount(); ++r) {
                    QStringList cells;
                    for (int c = 0; c < table->columnCount(); ++c)
                        cells << table->item(r, c)->text();
                    shown.rows << cells.join(QLatin1Char('|'));
                }
            }
            comparisons.push_back(shown);
            if (take && compare->takeButton()) {
                compare->onTake();
            } else {
                compare->reject();
            }
            result = compare->result();
            return true;
        };
    }
    std::vector<ShownComparison> comparisons;
};

// A parameter file holding a value of every kind the device would not take
// as set, in all four presets: more than the list shows.
ParameterImage valuesTheDeviceWouldChange() {
    ParameterImage image;
    applyDefaults(image);
    for (int p = 0; p < PresetCount; ++p) {
        image.setField(p, 0, ChannelField::level, 7);         // goes as -6 dB
        image.setField(p, 0, ChannelField::delayTaps, 2801);  // beyond channel 1's line
        image.setField(p, 1, eqFrequencyField(2), 57);        // off the grid
        image.setField(p, 2, ChannelField::hpType, 12);       // no such type
        image.setField(p, 3, ChannelField::input, 3);         // no such input
        image.setField(p, 4, eqQField(0), 30);                // no such Q
        image.setField(p, 5, ChannelField::lpFrequency, 30);  // below the grid
    }
    return image;
}

TEST_F(DeviceCheck, ValuesTheDeviceWouldChangeAreListedAndNeinSendsNothing) {
    attachDevice();
    start();
    const std::string path = run.dir.file("Grenzwerte.dat");
    ASSERT_EQ(saveParameterFile(valuesTheDeviceWouldChange(), path), 0);
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileOpen));
    const std::vector<SendFinding> findings = checkBeforeSend(image());
    ASSERT_EQ(findings.size(), 28u);

    // The default answer is "Nein": nothing goes to the device.
    clickSend();
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0].title, "Achtung");
    EXPECT_EQ(ui.questions[0].defaultAnswer, Answer::No);
    EXPECT_EQ(ui.questions[0].text, preSendMessage(findings));
    EXPECT_NE(ui.questions[0].text.find("\xE2\x80\xA6 und 16 weitere"), std::string::npos);
    EXPECT_EQ(line().blocksStored(1), 0);
    EXPECT_TRUE(ui.sleeps.empty());
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{Sending, ""}));

    // "Ja" sends what the user sees, all the same.
    ui.answers.push_back(Answer::Yes);
    clickSend();
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(line().blocksStored(1), 1);
    EXPECT_EQ(line().memory(1), encodeWireImage(image()));

    // Settings the device holds as they are go without a question.
    ASSERT_TRUE(command(CmdFileNew));
    clickSend();
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(line().blocksStored(1), 2);
}

TEST_F(DeviceCheck, CompareShowsAgreementOrEveryDifferenceAndCanTakeTheDevicesSettings) {
    ParameterImage device;
    applyDefaults(device);
    device.setField(2, 4, eqLevelField(1), -5);
    device.setField(0, 0, ChannelField::hpType, FilterButterworth24);
    line().attachDevice(1, {}, encodeWireImage(device));
    start();  // the screen shows the device's settings
    answerComparisons();

    ASSERT_TRUE(command(CmdCompareDevice));
    ASSERT_EQ(comparisons.size(), 1u);
    EXPECT_EQ(comparisons[0].title, "Mit Gerät vergleichen");
    EXPECT_EQ(comparisons[0].text, "Gerät und Programm stimmen überein.");
    EXPECT_TRUE(comparisons[0].rows.isEmpty());
    EXPECT_FALSE(comparisons[0].offersTake) << "nothing to take";

    // Edits on screen: the screen stays as it is, the table lists them.
    image().setField(2, 4, eqLevelField(1), 3);
    image().setField(0, 0, ChannelField::hpType, FilterOff);
    const ParameterImage edited = image();
    ASSERT_TRUE(command(CmdCompareDevice));
    ASSERT_EQ(comparisons.size(), 2u);
    EXPECT_EQ(comparisons[1].text, "Diese Einstellungen im Programm weichen vom Gerät ab:");
    EXPECT_EQ(comparisons[1].rows, (QStringList{"1|1|Hochpass-Typ|Off|Butterworth 24 dB/Oct",
                                                "3|5|EQ2 Pegel|3 dB|-5 dB"}));
    EXPECT_TRUE(comparisons[1].offersTake);
    EXPECT_TRUE(sameImage(image(), edited));

    // Taking the device's settings is one step that can be undone.
    answerComparisons(true);
    ASSERT_TRUE(command(CmdCompareDevice));
    EXPECT_EQ(image().field(2, 4, eqLevelField(1)), -5);
    EXPECT_EQ(shown(panel(0), IdHpType), "Butterworth 24 dB/Oct");
    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(image().field(2, 4, eqLevelField(1)), 3);
    EXPECT_EQ(shown(panel(0), IdHpType), "Off");

    // Without a device: the one message of a receive, no dialog.
    line().holdPort(1);
    document().port().close();
    ui.messages.clear();
    ASSERT_TRUE(command(CmdCompareDevice));
    EXPECT_EQ(comparisons.size(), 3u);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Schnittstelle antwortet nicht!");
}

TEST_F(DeviceCheck, ASendIsReadBackADifferenceShownAndKeptUntilTheCheckIsSwitchedOff) {
    // The device stores every block with byte 10 one higher: the EQ1 gain
    // code of channel 1 in preset 1.
    line().attachDevice(1, {.corruptByte = 10});
    start();
    answerComparisons();
    QAction& verify = *run.frame().action(CmdVerifyAfterSend);
    EXPECT_TRUE(verify.isChecked());

    clickSend();
    ASSERT_EQ(comparisons.size(), 1u);
    EXPECT_EQ(comparisons[0].title, "Achtung");
    EXPECT_EQ(comparisons[0].text.toStdString(), VerifyFailedText);
    ASSERT_EQ(comparisons[0].rows.size(), 1);
    EXPECT_EQ(comparisons[0].rows[0], "1|1|EQ1 Pegel|0 dB|1 dB");
    EXPECT_FALSE(comparisons[0].offersTake);
    EXPECT_EQ(ui.statusTexts.back(), "");
    EXPECT_TRUE(run.results.empty()) << "no word of success";

    // Switched off in the menu and kept in FILTARO.INI: no read-back.
    ASSERT_TRUE(command(CmdVerifyAfterSend));
    EXPECT_FALSE(verify.isChecked());
    EXPECT_FALSE(verifyAfterSend());
    std::string stored;
    readIniString(IniSectionFiltaro, IniKeyVerifyAfterSend, stored);
    EXPECT_EQ(stored, "0");
    ui.statusTexts.clear();
    clickSend();
    EXPECT_EQ(comparisons.size(), 1u);
    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{Sending, ""}));
    EXPECT_EQ(line().blocksStored(1), 2);
    EXPECT_EQ(run.results, std::vector<std::string>{"Alle vier Presets gesendet."});
    // What the read-back found on the device was kept before this send
    // went over it.
    const std::vector<std::string> backups = BackupStore(run.backupDir()).list();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(backups[0].find("vor-Senden"), std::string::npos);
    ParameterImage kept;
    ASSERT_EQ(loadParameterFile(kept, backups[0]), 1);
    EXPECT_EQ(kept.field(0, 0, eqLevelField(0)), 1);

    ASSERT_TRUE(command(CmdVerifyAfterSend));
    EXPECT_TRUE(verify.isChecked());
}

}  // namespace
