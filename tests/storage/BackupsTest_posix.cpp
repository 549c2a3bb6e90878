// A symbolic link in the backup folder never takes a backup elsewhere.

#include <gtest/gtest.h>

#include <filesystem>

#include "storage/Backups.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

TEST(BackupFolder, ALinkNamedLikeTheNextBackupIsNeitherFollowedNorCounted) {
    ScratchDir data;
    ScopedEnv xdg{"XDG_DATA_HOME", data.path().string()};
    BackupStore store;
    fs::create_directories(store.folder());
    const fs::path folder = store.folder();
    const std::string outside = data.file("draussen.dat");
    fs::create_symlink(outside, folder / "2026-12-07_14-03-22_vor-Empfang.dat");

    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 14;
    when.tm_min = 3;
    when.tm_sec = 22;
    ParameterImage image;
    applyDefaults(image);
    const BackupResult r = store.keepImage(image, BackupOccasion::BeforeReceive, when);
    ASSERT_EQ(r.status, BackupStatus::Written);
    EXPECT_EQ(fs::path(r.path), folder / "2026-12-07_14-03-22_vor-Empfang_2.dat");
    EXPECT_FALSE(fs::is_symlink(r.path));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_EQ(store.list(), std::vector<std::string>{r.path}) << "a link is no backup";
}

}  // namespace
