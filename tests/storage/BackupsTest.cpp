// Backups in a scratch data folder: where they go, how they are named, how
// many stay, and that a backup that cannot be written only reports it.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "storage/Backups.h"
#include "storage/ParameterFile.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

std::tm at(int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;  // December
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

ParameterImage imageWithLevel(int level) {
    ParameterImage image;
    applyDefaults(image);
    image.setField(0, 0, ChannelField::level, level);
    return image;
}

std::string fileName(const std::string& path) {
    return fs::path(path).filename().string();
}

// The user's data folder is the scratch folder (XDG_DATA_HOME on POSIX
// systems, APPDATA under Windows; see UserDataFolderTest).
class Backups : public ::testing::Test {
protected:
    ScratchDir data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.path().string()};
    ScopedEnv appData{"APPDATA", data.path().string()};
    BackupStore store;
};

TEST_F(Backups, LiveInTheUserDataFolder) {
    EXPECT_EQ(store.folder(), (data.path() / "Filtaro" / "backups").string());
    ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
    ScopedEnv noHome("HOME", nullptr);
    ScopedEnv noAppData("APPDATA", nullptr);
    EXPECT_EQ(backupFolder(), "");
    const BackupResult r = BackupStore().keepImage(imageWithLevel(1), BackupOccasion::StartUp);
    EXPECT_EQ(r.status, BackupStatus::Failed);
    EXPECT_EQ(r.message, "Keine Sicherung angelegt: es gibt keinen Ordner für Benutzerdaten.");
}

TEST_F(Backups, AreNamedForTheTimeAndOccasionAndHoldTheSettings) {
    const std::string names[] = {"Programmstart", "vor-Oeffnen",   "vor-Neu",     "vor-Empfang",
                                 "vor-Senden",    "vor-Speichern", "Programmende"};
    for (int i = 0; i <= static_cast<int>(BackupOccasion::ProgramEnd); ++i) {
        EXPECT_EQ(backupOccasionName(static_cast<BackupOccasion>(i)), names[i]);
    }

    BackupResult r =
        store.keepImage(imageWithLevel(1), BackupOccasion::BeforeReceive, at(7, 14, 3, 22));
    ASSERT_EQ(r.status, BackupStatus::Written) << r.message;
    EXPECT_EQ(r.path, (fs::path(store.folder()) / "2026-12-07_14-03-22_vor-Empfang.dat").string());
    ParameterImage back;
    ASSERT_EQ(loadParameterFile(back, r.path), 1);
    EXPECT_EQ(back, imageWithLevel(1));

    // Within the same second each further backup gets the next number, and
    // settings the newest backup holds already are not written again.
    r = store.keepImage(imageWithLevel(2), BackupOccasion::BeforeSend, at(7, 14, 3, 22));
    EXPECT_EQ(fileName(r.path), "2026-12-07_14-03-22_vor-Senden_2.dat");
    r = store.keepImage(imageWithLevel(2), BackupOccasion::BeforeSave, at(7, 14, 3, 22));
    EXPECT_EQ(r.status, BackupStatus::Unchanged);
    EXPECT_EQ(fileName(r.path), "2026-12-07_14-03-22_vor-Senden_2.dat");

    // A file is kept as it is before it is written over; no file, nothing to keep.
    const std::string dat = data.file("Filtaro.dat");
    ASSERT_EQ(saveParameterFile(imageWithLevel(3), dat), 0);
    r = store.keepFile(dat, BackupOccasion::StartUp, at(7, 14, 3, 22));
    EXPECT_EQ(fileName(r.path), "2026-12-07_14-03-22_Programmstart_3.dat");
    EXPECT_EQ(store.keepFile(data.file("none.dat"), BackupOccasion::StartUp).status,
              BackupStatus::NothingToKeep);

    std::vector<std::string> listed;
    for (const std::string& path : store.list()) listed.push_back(fileName(path));
    EXPECT_EQ(listed, (std::vector<std::string>{"2026-12-07_14-03-22_Programmstart_3.dat",
                                                "2026-12-07_14-03-22_vor-Senden_2.dat",
                                                "2026-12-07_14-03-22_vor-Empfang.dat"}));
}

TEST_F(Backups, TheNewestHundredStayAndOtherFilesAreLeftAlone) {
    fs::create_directories(store.folder());
    const std::string foreign[] = {"notizen.txt", "2026-12-01_00-00-00_alt.dat.bak",
                                   "2020-01-01_00-00-00_.dat",
                                   "2020-01-01_00-00-00_meine-Einstellung.dat"};
    for (const std::string& name : foreign) writeFileBytes(store.folder() + "/" + name, "x");
    // The user's own settings, named like a backup but not for an occasion of
    // the program's.
    ASSERT_EQ(saveParameterFile(imageWithLevel(-1), store.folder() + "/" + foreign[3]), 0);
    for (int i = 0; i < 105; ++i) {
        const BackupResult r = store.keepImage(imageWithLevel(i), BackupOccasion::BeforeReceive,
                                               at(8, i / 60, i % 60, 0));
        ASSERT_EQ(r.status, BackupStatus::Written) << i;
    }
    const std::vector<std::string> kept = store.list();
    ASSERT_EQ(kept.size(), BackupsKept);
    EXPECT_EQ(fileName(kept.front()), "2026-12-08_01-44-00_vor-Empfang.dat");
    EXPECT_EQ(fileName(kept.back()), "2026-12-08_00-05-00_vor-Empfang.dat");
    for (const std::string& name : foreign) {
        EXPECT_TRUE(fs::exists(store.folder() + "/" + name)) << name;
    }
}

// A clock that ran ahead once named a hundred backups in the future, and
// gave them file times in the future too. The backups written since are the
// newest all the same, and none is removed in the call that wrote it;
// whether or not the program's record of the order survived.
TEST_F(Backups, AClockThatRanAheadNeverCostsTheBackupsWrittenSince) {
    for (const bool recordKept : {true, false}) {
        SCOPED_TRACE(recordKept ? "with the record" : "without the record");
        fs::remove_all(store.folder());
        std::tm future = at(1, 0, 0, 0);
        future.tm_year = 2099 - 1900;
        for (int i = 0; i < 100; ++i) {
            future.tm_hour = i / 60;
            future.tm_min = i % 60;
            const BackupResult r =
                store.keepImage(imageWithLevel(-i - 1), BackupOccasion::BeforeReceive, future);
            ASSERT_EQ(r.status, BackupStatus::Written) << i;
            fs::last_write_time(r.path,
                                fs::file_time_type::clock::now() + std::chrono::hours(i + 1));
        }
        if (!recordKept) fs::remove(store.folder() + "/Reihenfolge.txt");

        std::vector<std::string> written;
        for (int level = 1; level <= 3; ++level) {
            const BackupResult r = store.keepImage(
                imageWithLevel(level), BackupOccasion::BeforeReceive, at(8, 0, 0, level));
            ASSERT_EQ(r.status, BackupStatus::Written);
            ASSERT_TRUE(fs::exists(r.path)) << "kept in the call that wrote it";
            written.insert(written.begin(), r.path);
        }
        const std::vector<std::string> kept = store.list();
        ASSERT_EQ(kept.size(), BackupsKept);
        EXPECT_EQ(std::vector<std::string>(kept.begin(), kept.begin() + 3), written);
        ParameterImage newest;
        ASSERT_EQ(loadParameterFile(newest, kept.front()), 1);
        EXPECT_EQ(newest, imageWithLevel(3));
    }
}

TEST_F(Backups, AFolderThatCannotBeWrittenIsReportedAndTheFileStaysAsItWas) {
    // A file where the folder should be: nothing can be created under it.
    writeFileBytes(data.file("Filtaro"), "in the way");
    const std::string dat = data.file("Filtaro.dat");
    ASSERT_EQ(saveParameterFile(imageWithLevel(4), dat), 0);
    const BackupResult r = store.keepFile(dat, BackupOccasion::BeforeSave);
    EXPECT_EQ(r.status, BackupStatus::Failed);
    EXPECT_EQ(r.message, "Sicherung konnte nicht in " + store.folder() + " angelegt werden.");
    EXPECT_TRUE(store.list().empty());
    // What the backup preceded goes ahead.
    EXPECT_EQ(saveParameterFile(imageWithLevel(5), dat), 0);
}

TEST(BackupFileInfo, TellsDateTimeAndOccasionInWords) {
    const std::pair<const char*, std::optional<BackupFileInfo>> cases[] = {
        {"2026-12-07_18-42-05_vor-Empfang.dat",
         BackupFileInfo{"07.12.2026", "18:42:05", "Vor dem Empfang"}},
        {"2026-01-31_00-00-59_vor-Senden_3.dat",
         BackupFileInfo{"31.01.2026", "00:00:59", "Vor dem Senden"}},
        {"2025-06-01_09-05-00_Programmstart.dat",
         BackupFileInfo{"01.06.2025", "09:05:00", "Beim Programmstart"}},
        {"2025-06-01_09-05-00_vor-Oeffnen.dat",
         BackupFileInfo{"01.06.2025", "09:05:00", "Vor dem Öffnen"}},
        // The user's own file in that folder is no backup of the program's.
        {"2025-06-01_09-05-00_meine-Einstellung.dat", std::nullopt},
        {"2025-06-01_09-05_vor-Neu.dat", std::nullopt},
        {"Filtaro.dat", std::nullopt},
    };
    for (const auto& [name, info] : cases) {
        EXPECT_EQ(backupFileInfo(name), info) << name;
    }
}

}  // namespace
