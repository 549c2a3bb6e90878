// The files the program names itself are never written through a link
// someone put in their place, and a save clears away what killed saves left.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "platform/ReplaceFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

bool create(const std::string& path, const std::string& bytes) {
    return createNewFile(path, bytes.data(), bytes.size());
}

bool replaceOwn(const std::string& path, const std::string& bytes) {
    return replaceOwnFile(path, bytes.data(), bytes.size());
}

// What stands at "x" in the scratch folder before the call, beside the file
// "target" a link may name.
struct Entry {
    const char* name;
    std::function<void(const ScratchDir&)> make;
};

const Entry Entries[] = {
    {"nothing", [](const ScratchDir&) {}},
    {"a file", [](const ScratchDir& d) { writeFileBytes(d.file("x"), "old"); }},
    {"a link to a file",
     [](const ScratchDir& d) {
         writeFileBytes(d.file("target"), "old");
         fs::create_symlink("target", d.file("x"));
     }},
    {"a link to no file", [](const ScratchDir& d) { fs::create_symlink("target", d.file("x")); }},
    {"a hard link",
     [](const ScratchDir& d) {
         writeFileBytes(d.file("target"), "old");
         fs::create_hard_link(d.file("target"), d.file("x"));
     }},
};

TEST(OwnFiles, ANewFileNeverTakesAName) {
    for (const Entry& e : Entries) {
        SCOPED_TRACE(e.name);
        ScratchDir dir;
        e.make(dir);
        const std::size_t before = entriesIn(dir.path());
        const bool nothing = std::string(e.name) == "nothing";
        errno = 0;
        EXPECT_EQ(create(dir.file("x"), "new"), nothing);
        if (nothing) {
            EXPECT_EQ(readFileBytes(dir.file("x")), "new");
            continue;
        }
        EXPECT_EQ(errno, EEXIST);
        EXPECT_EQ(entriesIn(dir.path()), before) << "no temporary file left";
        if (fs::exists(dir.file("target"))) {
            EXPECT_EQ(readFileBytes(dir.file("target")), "old");
        }
        EXPECT_FALSE(fs::exists(dir.file("target")) && std::string(e.name) == "a link to no file");
    }
}

TEST(OwnFiles, ASaveOverThemReplacesLinksAndKeepsWhatTheyNamed) {
    for (const Entry& e : Entries) {
        SCOPED_TRACE(e.name);
        ScratchDir dir;
        e.make(dir);
        ASSERT_TRUE(replaceOwn(dir.file("x"), "new"));
        EXPECT_FALSE(fs::is_symlink(dir.file("x")));
        EXPECT_EQ(readFileBytes(dir.file("x")), "new");
        EXPECT_EQ(fs::hard_link_count(dir.file("x")), 1u);
        if (std::string(e.name) == "a link to no file") {
            EXPECT_FALSE(fs::exists(dir.file("target")));
        } else if (fs::exists(dir.file("target"))) {
            EXPECT_EQ(readFileBytes(dir.file("target")), "old");
        }
    }
}

TEST(OwnFiles, ARenameMovesTheLinkItselfAndNeverTakesAName) {
    ScratchDir dir;
    writeFileBytes(dir.file("target"), "old");
    fs::create_symlink("target", dir.file("from"));
    ASSERT_TRUE(renameWithoutReplacing(dir.file("from"), dir.file("to")));
    EXPECT_TRUE(fs::is_symlink(dir.file("to")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("from"))));

    writeFileBytes(dir.file("from"), "moving");
    fs::create_symlink("nowhere", dir.file("taken"));
    for (const char* taken : {"to", "taken", "target"}) {
        errno = 0;
        EXPECT_FALSE(renameWithoutReplacing(dir.file("from"), dir.file(taken))) << taken;
        EXPECT_EQ(errno, EEXIST) << taken;
    }
    EXPECT_EQ(readFileBytes(dir.file("from")), "moving");
    EXPECT_EQ(readFileBytes(dir.file("target")), "old");
    EXPECT_FALSE(fs::exists(dir.file("nowhere")));
}

// Sets the time of `path` itself (not what a link names) `seconds` back.
void age(const std::string& path, int seconds) {
    const timespec past{time(nullptr) - seconds, 0};
    const timespec times[2] = {past, past};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// A save removes the temporary files killed saves left beside its file:
// only regular files of its user with the name pattern, older than an hour.
TEST(ReplaceFile, ClearsAwayStaleTemporaryFilesOfItsUserOnly) {
    ScratchDir dir;
    const std::string stale = ".filtaro-ab12cd";
    writeFileBytes(dir.file(stale), "left by a killed save");
    age(dir.file(stale), 2 * 3600);
    const char* kept[] = {".filtaro-fresh1", ".filtaro-link01",  ".filtaro-dir001",
                          ".filtaro-AB12CD", ".filtaro-ab12cde", "filtaro-ab12cd",
                          ".filtaro-other1"};
    writeFileBytes(dir.file(kept[0]), "a save in progress");
    fs::create_symlink(stale, dir.file(kept[1]));
    fs::create_directory(dir.file(kept[2]));
    for (int i = 3; i < 7; ++i) writeFileBytes(dir.file(kept[i]), "not ours");
    for (int i = 1; i < 7; ++i) age(dir.file(kept[i]), 2 * 3600);
    // Another user's, when this test may hand a file to one.
    const bool otherUser = geteuid() == 0;
    if (otherUser) {
        ASSERT_EQ(chown(dir.file(kept[6]).c_str(), 65534, 65534), 0);
    }

    for (const auto& save : {replaceFileContents, replaceOwnFile}) {
        ASSERT_TRUE(save(dir.file("a.dat"), "x", 1));
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file(stale))));
        for (int i = 0; i < (otherUser ? 7 : 6); ++i) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(dir.file(kept[i])))) << kept[i];
        }
        writeFileBytes(dir.file(stale), "again");
        age(dir.file(stale), 2 * 3600);
    }
    ASSERT_TRUE(create(dir.file("b.dat"), "x"));
    EXPECT_FALSE(fs::exists(dir.file(stale)));
}

}  // namespace
