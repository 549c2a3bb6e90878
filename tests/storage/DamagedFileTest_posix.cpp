// Files set aside as damaged keep every byte and never take a name that is
// there already, a symbolic link planted there included.

#include <gtest/gtest.h>

#include <filesystem>

#include "storage/DamagedFile.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

TEST(DamagedFile, IsRenamedToTheFirstFreeNumberAndNeverOverAnything) {
    ScratchDir dir;
    const std::string path = dir.file("Boxen.filtaro.json");
    writeFileBytes(path, "eins");
    EXPECT_EQ(setAsideAsDamaged(path), path + ".defekt");

    writeFileBytes(path, "zwei");
    writeFileBytes(dir.file("notiz.txt"), "Notiz");
    fs::create_symlink("notiz.txt", path + ".2.defekt");
    EXPECT_EQ(setAsideAsDamaged(path), path + ".3.defekt");
    EXPECT_EQ(readFileBytes(path + ".defekt"), "eins");
    EXPECT_EQ(readFileBytes(path + ".3.defekt"), "zwei");
    EXPECT_EQ(readFileBytes(dir.file("notiz.txt")), "Notiz");
    EXPECT_TRUE(fs::is_symlink(path + ".2.defekt"));

    // A link is set aside itself; what it names stays where it is.
    fs::create_symlink("notiz.txt", path);
    EXPECT_EQ(setAsideAsDamaged(path), path + ".4.defekt");
    EXPECT_TRUE(fs::is_symlink(path + ".4.defekt"));
    EXPECT_EQ(setAsideAsDamaged(path), std::nullopt) << "nothing there any more";
}

}  // namespace
