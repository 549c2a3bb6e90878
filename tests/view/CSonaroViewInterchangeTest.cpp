// Working with other programs through the whole program: a filter text
// imported into the channel shown (one undo step, or nothing on cancel), the
// choice among its channel blocks, the exports, the channel names and the
// side file that keeps them beside the parameter file.

#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <filesystem>

#include "interchange/FilterImport.h"
#include "interchange/SettingsExport.h"
#include "plot/CResponsePlot.h"
#include "storage/ParameterFile.h"
#include "storage/SideFile.h"
#include "storage/TextFile.h"
#include "ui/ChannelNameDialog.h"
#include "ui/FilterExportDialog.h"
#include "ui/FilterImportDialog.h"
#include "ui/ImportBlockDialog.h"
#include "view/CommandIds.h"
#include "view/Commands.h"
#include "view/ViewCommandFixture.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* RewText =
    "Filter Settings file\n"
    "\n"
    "Notes: Bass links\n"
    "Equaliser: Generic\n"
    "Filter  1: ON  PK       Fc   63,5 Hz  Gain  -5,2 dB  Q  4,10\n"
    "Filter  2: ON  PK       Fc    125 Hz  Gain   3,0 dB  Q  1,00\n"
    "Filter  3: OFF PK       Fc    250 Hz  Gain  -2,0 dB  Q  2,00\n"
    "Filter  4: ON  Brummen\n";

constexpr const char* TwoBlocks =
    "Preamp: -3 dB\n"
    "Channel: L\nFilter: ON PK Fc 50 Hz Gain -4 dB Q 2\n"
    "Channel: R\nFilter: ON PK Fc 80 Hz Gain -6 dB Q 3\n";

class Interchange : public ViewCommandTest {
protected:
    // The user on the channel tab `c` (clicked, so the panel is shown).
    void showChannel(int c) { clickTab(tabs(), c); }
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = run.dir.file(name);
        writeFileBytes(path, text);
        return path;
    }
    // The import with `answer` for the review dialog; what it showed.
    QTableWidget* lastTable = nullptr;
    int rowsShown = -1;
    bool refitOffered = false;
    bool takeRefit = false;
    void import(const std::string& path, int answer, int block = 0) {
        filePaths.push_back(path);
        run.hook = [this, answer, block](QDialog& dialog, int& result) {
            if (auto* choose = dynamic_cast<ImportBlockDialog*>(&dialog)) {
                choose->list()->setCurrentRow(block);
                result = QDialog::Accepted;
                return true;
            }
            if (auto* review = dynamic_cast<FilterImportDialog*>(&dialog)) {
                rowsShown = review->table()->rowCount();
                refitOffered = review->refitButton() != nullptr;
                if (refitOffered) {
                    (takeRefit ? review->refitButton() : review->roundedButton())->setChecked(true);
                }
                result = answer;
                return true;
            }
            return false;
        };
        ASSERT_TRUE(command(CmdImportFilters));
        run.hook = nullptr;
    }
    // Names channel `c` through the tab's menu, as the user does.
    void name(int c, const QString& text) {
        run.hook = [text](QDialog& dialog, int&) {
            if (auto* named = dynamic_cast<ChannelNameDialog*>(&dialog))
                named->edit()->setText(text);
            return false;
        };
        std::unique_ptr<QMenu> menu(tabs().contextMenu(c));
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions()[0]->text(), "Kanal benennen...");
        menu->actions()[0]->trigger();
        run.hook = nullptr;
    }
    QString tip(int c) { return tabs().tabBar()->tabToolTip(c); }
};

TEST_F(Interchange, ImportIsOneUndoStepAndCancelChangesNothing) {
    start();
    showChannel(1);
    const std::string path = write("bass.txt", RewText);
    const ParameterImage before = image();

    import(path, QDialog::Rejected);
    EXPECT_TRUE(sameImage(image(), before));
    EXPECT_FALSE(run.frame().action(CmdEditUndo)->isEnabled());

    import(path, QDialog::Accepted);
    // Three filters and the unreadable line 8, each a row.
    EXPECT_EQ(rowsShown, 4);
    const FilterImport expected = importFilterText(RewText, before.record(0, 1), 1);
    EXPECT_EQ(image().record(0, 1), expected.report.record);
    EXPECT_EQ(image().field(0, 1, eqLevelField(0)), -5);
    EXPECT_EQ(shown(panel(1), IdEqLevel[0]), "-5") << "the panel shows the import";
    EXPECT_EQ(image().redrawPending(), 1) << "the plot follows";
    EXPECT_EQ(run.frame().action(CmdEditUndo)->text(),
              "&Rückgängig: Filter importieren Kanal 2\tStrg+Z");

    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(image().record(0, 1), before.record(0, 1));
    EXPECT_EQ(shown(panel(1), IdEqLevel[0]), "0");

    // Fitted to the text as a whole instead: what the refit sets, and
    // closer to the text than the rounding.
    takeRefit = true;
    import(path, QDialog::Accepted);
    EXPECT_TRUE(refitOffered);
    const ImportRefit refit = refitImport(expected.report);
    ASSERT_TRUE(refit.ok);
    EXPECT_EQ(image().record(0, 1), refit.record);
    EXPECT_LE(refit.difference.rmsDb, expected.report.rmsDifferenceDb);
    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(image().record(0, 1), before.record(0, 1));
}

TEST_F(Interchange, TheUserPicksTheChannelBlock) {
    start();
    import(write("stereo.txt", TwoBlocks), QDialog::Accepted, 1);
    ASSERT_EQ(dialogShown(0), "ImportBlockDialog");
    EXPECT_EQ(dialogShown(1), "FilterImportDialog");
    const ParameterImage defaults = [] {
        ParameterImage image;
        applyDefaults(image);
        return image;
    }();
    EXPECT_EQ(image().record(0, 0),
              importFilterText(TwoBlocks, defaults.record(0, 0), 0, "R").report.record);
}

TEST_F(Interchange, ExportsWriteTheChosenFormatWithTheNames) {
    struct Case {
        ExportFormat format;
        FileDialogKind dialog;
        bool wholePreset;
        int rate;
    };
    const Case cases[] = {
        {ExportFormat::Apo, FileDialogKind::ExportApo, false, 48000},
        {ExportFormat::Apo, FileDialogKind::ExportApo, true, 48000},
        {ExportFormat::Rew, FileDialogKind::ExportRew, false, 48000},
        {ExportFormat::CamillaDsp, FileDialogKind::ExportCamillaDsp, true, 96000},
    };
    start();
    showChannel(2);
    name(2, QStringLiteral("Hochton links"));
    EXPECT_EQ(channelDisplayName(view(), 2), "Kanal 3 (Hochton links)");
    EXPECT_EQ(channelDisplayName(view(), 0), "Kanal 1");
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        const std::string path = run.dir.file("export.txt");
        filePaths.push_back(path);
        fileDialogsShown.clear();
        run.hook = [&c](QDialog& dialog, int&) {
            if (auto* choose = dynamic_cast<FilterExportDialog*>(&dialog)) {
                choose->formatButton(c.format)->click();
                if (c.wholePreset && c.format == ExportFormat::Apo) choose->presetButton()->click();
                choose->rateBox()->setCurrentIndex(choose->rateBox()->findData(c.rate));
                EXPECT_EQ(choose->choice().wholePreset, c.wholePreset) << "the format's scope";
            }
            return false;
        };
        ASSERT_TRUE(command(CmdExportFilterSettings));
        EXPECT_EQ(fileDialogsShown, std::vector<FileDialogKind>{c.dialog});
        const ExportText expected =
            exportSettings(c.format, image(), 0, c.wholePreset ? std::nullopt : std::optional(2),
                           view().sideFile().channelNames, c.rate);
        EXPECT_EQ(readTextFile(path, 1 << 20).value_or(""), expected.text);
        EXPECT_NE(expected.text.find("Hochton links"), std::string::npos);
    }
}

TEST_F(Interchange, NamesAreTooltipsReadoutNamesAndUndoSteps) {
    start();
    EXPECT_EQ(tip(3), "");
    view().redrawStep();
    view().plot()->setCursorPoint(270);
    name(3, QStringLiteral("  Mittelton rechts  "));
    EXPECT_EQ(tip(3), "Mittelton rechts");
    view().redrawStep();
    ASSERT_EQ(view().plot()->readout().entries.size(), 6u);
    EXPECT_EQ(view().plot()->readout().entries[3].name, "Kanal 4 (Mittelton rechts)")
        << "the readout names the channel at once";
    EXPECT_EQ(run.frame().action(CmdEditUndo)->text(), "&Rückgängig: Kanal 4 benennen\tStrg+Z");
    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(tip(3), "");
    ASSERT_TRUE(command(CmdEditRedo));
    EXPECT_EQ(tip(3), "Mittelton rechts");
    // Empty takes the name away.
    name(3, QString());
    EXPECT_EQ(view().channelName(3), "");
}

TEST_F(Interchange, TheSideFileTravelsWithSaveAndOpenAndNewResetsIt) {
    SideFile earlier;
    earlier.channelNames[5] = "Sub";
    ASSERT_TRUE(saveSideFile(run.dir.file("Filtaro.dat"), earlier));
    start();
    EXPECT_EQ(tip(5), "Sub") << "read at start with Filtaro.dat";
    name(0, QStringLiteral("Bass links"));
    const std::string path = run.dir.file("anlage.dat");
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(fs::file_size(path), ParameterImageSize);
    EXPECT_EQ(loadSideFile(path).data.channelNames[0], "Bass links");

    ASSERT_TRUE(command(CmdFileNew));
    EXPECT_EQ(tip(0), "");
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileOpen));
    EXPECT_EQ(tip(0), "Bass links");
    // Undoing the Open takes its names away again.
    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(tip(0), "");
    EXPECT_TRUE(ui.messages.empty());

    // The program's end writes it beside the current file, Filtaro.dat
    // again: New took "Sub" away.
    name(2, QStringLiteral("Mitte"));
    run.end();
    const SideFile last = loadSideFile(run.dir.file("Filtaro.dat")).data;
    EXPECT_EQ(last.channelNames[2], "Mitte");
    EXPECT_EQ(last.channelNames[5], "");
}

TEST_F(Interchange, ABrokenSideFileIsReportedOnceAndAFailedOneLeavesTheSaveDone) {
    start();
    const std::string path = run.dir.file("alt.dat");
    saveParameterFile(image(), path);
    write("alt.filtaro.json", "{ \"channels\": [ kaputt");
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileOpen));
    for (int i = 0; i < 3; ++i) {
        image().setRedrawPending(1);
        view().redrawStep();
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("alt.filtaro.json"), std::string::npos);

    // A folder where the side file would go: the settings are saved, the
    // side file's failure is the one message.
    ui.messages.clear();
    name(1, QStringLiteral("Sub"));
    const std::string blocked = run.dir.file("neu.dat");
    fs::create_directory(sideFilePath(blocked));
    filePaths.push_back(blocked);
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(fs::file_size(blocked), ParameterImageSize);
    EXPECT_EQ(title(), "Klarwelle Filtaro - neu.dat");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("neu.filtaro.json"), std::string::npos);
}

}  // namespace
