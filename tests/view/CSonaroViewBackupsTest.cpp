// The backups the window keeps before it overwrites settings, in the data
// folder of the run (the program's start-up keeps the previous Filtaro.dat;
// see the start-up tests).

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <filesystem>
#include <fstream>

#include "device/WireImage.h"
#include "model/SettingsEdit.h"
#include "storage/Backups.h"
#include "storage/ParameterFile.h"
#include "support/ScopedEnv.h"
#include "ui/BackupDialog.h"
#include "view/CommandIds.h"
#include "view/ViewCommandFixture.h"

namespace {

namespace fs = std::filesystem;

ParameterImage settingsWithLevel(int level) {
    ParameterImage image;
    applyDefaults(image);
    image.setField(1, 2, ChannelField::level, level);
    return image;
}

class Backups : public ViewCommandTest {
protected:
    // The newest backup: its occasion ("vor-Empfang") and its settings.
    std::string newestOccasion() {
        const std::vector<std::string> kept = BackupStore(run.backupDir()).list();
        if (kept.empty()) return "";
        std::string name = fs::path(kept.front()).filename().stem().string().substr(20);
        if (const auto serial = name.rfind('_'); serial != std::string::npos) name.erase(serial);
        return name;
    }
    ParameterImage newest() {
        ParameterImage image;
        EXPECT_EQ(loadParameterFile(image, BackupStore(run.backupDir()).list().front()), 1);
        return image;
    }
    std::size_t count() { return BackupStore(run.backupDir()).list().size(); }
    void setLevel(int level) { image().setField(1, 2, ChannelField::level, level); }
};

TEST_F(Backups, EachOccasionKeepsTheSettingsItReplaces) {
    line().attachDevice(1, {}, encodeWireImage(settingsWithLevel(-1)));
    start();  // shows what the device holds
    EXPECT_EQ(count(), 0u) << "the start-up receive replaces the defaults";

    setLevel(-2);
    ASSERT_TRUE(command(CmdReceive));
    EXPECT_EQ(newestOccasion(), "vor-Empfang");
    EXPECT_TRUE(sameSettings(newest(), settingsWithLevel(-2)));

    // A send keeps what the device held, once: then it holds what was sent.
    setLevel(-3);
    clickSend();
    EXPECT_EQ(newestOccasion(), "vor-Senden");
    EXPECT_TRUE(sameSettings(newest(), settingsWithLevel(-1)));
    clickSend();
    EXPECT_EQ(count(), 2u) << "the device held these settings already";

    const std::string path = run.dir.file("Kino.dat");
    ASSERT_EQ(saveParameterFile(settingsWithLevel(-4), path), 0);
    filePaths.push_back(path);
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(newestOccasion(), "vor-Speichern");
    EXPECT_TRUE(sameSettings(newest(), settingsWithLevel(-4)));

    setLevel(-5);
    filePaths.push_back(run.dir.file("Kino.dat"));
    ASSERT_TRUE(command(CmdFileOpen));
    EXPECT_EQ(newestOccasion(), "vor-Oeffnen");
    EXPECT_TRUE(sameSettings(newest(), settingsWithLevel(-5)));

    ASSERT_TRUE(command(CmdFileNew));
    EXPECT_EQ(newestOccasion(), "vor-Neu");
    EXPECT_TRUE(sameSettings(newest(), settingsWithLevel(-3)));
    ASSERT_TRUE(command(CmdFileNew));
    EXPECT_EQ(count(), 5u) << "the defaults are not worth a backup";

    // "Sicherung laden" lists the backups newest first, in words; the
    // settings of the one chosen come back as one step, and the current file
    // stays.
    const std::string fileBefore = document().fileName();
    QStringList occasions;
    run.hook = [&occasions](QDialog& dialog, int& result) {
        auto& chooser = dynamic_cast<BackupDialog&>(dialog);
        for (int row = 0; row < chooser.table()->rowCount(); ++row) {
            occasions << chooser.table()->item(row, 2)->text();
        }
        chooser.table()->selectRow(chooser.table()->rowCount() - 1);  // the oldest
        EXPECT_EQ(chooser.summaryLabel()->text(),
                  "Weicht in einem Wert von den Einstellungen jetzt ab: Preset 2, Kanal 3, "
                  "Pegel -2 dB statt 0 dB.");
        chooser.loadButton()->click();
        result = chooser.result();
        return true;
    };
    ASSERT_TRUE(command(CmdLoadBackup));
    EXPECT_EQ(occasions, (QStringList{"Vor \"Neu\"", "Vor dem Öffnen", "Vor dem Speichern",
                                      "Vor dem Senden", "Vor dem Empfang"}));
    EXPECT_EQ(image().field(1, 2, ChannelField::level), -2);
    EXPECT_EQ(document().fileName(), fileBefore);
    filePaths.push_back(std::nullopt);
    ASSERT_TRUE(command(CmdFileSave));
    EXPECT_EQ(fileDialogFolders.back(), fs::path(fileBefore).parent_path().string())
        << "the file dialogs start in the current file's folder";
    EXPECT_TRUE(
        run.frame().action(CmdEditUndo)->text().startsWith("&Rückgängig: Laden der Sicherung 20"));
    ASSERT_TRUE(command(CmdEditUndo));
    EXPECT_EQ(image().field(1, 2, ChannelField::level), 0);
}

TEST_F(Backups, OneThatCannotBeWrittenNeverStopsTheOperationAndIsReportedOnce) {
    line().attachDevice(1, {}, encodeWireImage(settingsWithLevel(-1)));
    start();
    std::ofstream(run.dir.file("keinOrdner")) << "x";
    ScopedEnv noFolder("XDG_DATA_HOME", run.dir.file("keinOrdner"));

    for (int level : {-2, -3}) {
        setLevel(level);
        ASSERT_TRUE(command(CmdReceive));
        EXPECT_EQ(image().field(1, 2, ChannelField::level), -1) << "received all the same";
    }
    ASSERT_EQ(run.notices.size(), 1u);
    EXPECT_EQ(run.notices[0], "Sicherung konnte nicht in " +
                                  run.dir.file("keinOrdner/Filtaro/backups") + " angelegt werden.");
    EXPECT_TRUE(ui.messages.empty()) << "no box stops the user";
}

}  // namespace
