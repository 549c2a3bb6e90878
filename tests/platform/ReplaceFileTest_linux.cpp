#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>

#include "platform/ReplaceFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

bool replace(const std::string& path, const std::string& bytes) {
    return replaceFileContents(path, bytes.data(), bytes.size());
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
}

TEST(ReplaceFile, ReplacesContentKeepingPermissionsAndLinks) {
    ScratchDir dir;
    const std::string file = dir.file("data.dat");
    ASSERT_TRUE(replace(file, "first"));
    EXPECT_EQ(readFileBytes(file), "first");

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(replace(file, "second"));
    EXPECT_EQ(readFileBytes(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    const std::string link = dir.file("link.dat");
    fs::create_symlink(file, link);
    ASSERT_TRUE(replace(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFileBytes(file), "through the link");
    EXPECT_EQ(entriesIn(dir.path()), 2u);  // no temporary file left behind
}

TEST(ReplaceFile, RefusesWhatIsNoRegularFile) {
    ScratchDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(replace(fifo, "x"));
    EXPECT_TRUE(fs::is_fifo(fifo));

    fs::create_directory(dir.file("sub"));
    EXPECT_FALSE(replace(dir.file("sub"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.file("sub")));

    writeFileBytes(dir.file("plain"), "kept");
    EXPECT_FALSE(replace(dir.file("plain") + "/below", "x"));  // parent is a file
    EXPECT_FALSE(replace(dir.file("missing-dir") + "/x", "x"));
    EXPECT_FALSE(replace("", "x"));
    EXPECT_EQ(readFileBytes(dir.file("plain")), "kept");

    // Links that lead nowhere a file can be.
    fs::create_symlink("loop-b", dir.file("loop-a"));
    fs::create_symlink("loop-a", dir.file("loop-b"));
    EXPECT_FALSE(replace(dir.file("loop-a"), "x"));
    EXPECT_EQ(errno, ELOOP);
    fs::create_symlink("sub/", dir.file("to-folder"));
    EXPECT_FALSE(replace(dir.file("to-folder"), "x"));
    EXPECT_TRUE(fs::is_empty(dir.file("sub")));
    EXPECT_EQ(entriesIn(dir.path()), 6u);
}

// What a plain rename over the target would get wrong: other names of the
// file, links that name no file yet, long names, attributes.
TEST(ReplaceFile, KeepsHardLinksSymbolicLinksLongNamesAndAttributes) {
    const std::string longName(255, 'n');
    const struct Case {
        const char* name;
        std::function<void(const ScratchDir&)> setUp;
        const char* saved;  // the path given to the save
        const char* file;   // where the content must arrive
        std::function<void(const ScratchDir&)> check;
    } cases[] = {
        {"a hard link sees the new content",
         [](const ScratchDir& d) {
             writeFileBytes(d.file("a.dat"), "old");
             fs::create_hard_link(d.file("a.dat"), d.file("b.dat"));
         },
         "a.dat", "b.dat",
         [](const ScratchDir& d) {
             EXPECT_EQ(statOf(d.file("a.dat")).st_ino, statOf(d.file("b.dat")).st_ino);
         }},
        {"a dangling link gets its file, and stays",
         [](const ScratchDir& d) {
             fs::create_directory(d.file("sub"));
             fs::create_symlink("sub/target.dat", d.file("link.dat"));
         },
         "link.dat", "sub/target.dat",
         [](const ScratchDir& d) { EXPECT_TRUE(fs::is_symlink(d.file("link.dat"))); }},
        {"a chain of relative links, each from its own folder",
         [](const ScratchDir& d) {
             fs::create_directory(d.file("sub"));
             fs::create_directory(d.file("other"));
             fs::create_symlink("sub/second", d.file("first"));
             fs::create_symlink("../other/target.dat", d.file("sub/second"));
         },
         "first", "other/target.dat",
         [](const ScratchDir& d) {
             EXPECT_TRUE(fs::is_symlink(d.file("first")));
             EXPECT_TRUE(fs::is_symlink(d.file("sub/second")));
         }},
        {"a name of 255 bytes, new", [](const ScratchDir&) {}, longName.c_str(), longName.c_str(),
         [](const ScratchDir&) {}},
        {"a name of 255 bytes, replaced",
         [&](const ScratchDir& d) { writeFileBytes(d.file(longName), "old"); }, longName.c_str(),
         longName.c_str(), [](const ScratchDir&) {}},
        {"extended attributes stay",
         [](const ScratchDir& d) {
             writeFileBytes(d.file("a.dat"), "old");
             ASSERT_EQ(setxattr(d.file("a.dat").c_str(), "user.filtaro", "kept", 4, 0), 0);
         },
         "a.dat", "a.dat",
         [](const ScratchDir& d) {
             char value[8] = {};
             EXPECT_EQ(getxattr(d.file("a.dat").c_str(), "user.filtaro", value, sizeof value), 4);
             EXPECT_STREQ(value, "kept");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        c.setUp(dir);
        const std::size_t entries = entriesIn(dir.path());
        ASSERT_TRUE(replace(dir.file(c.saved), "new content"));
        EXPECT_EQ(readFileBytes(dir.file(c.file)), "new content");
        c.check(dir);
        EXPECT_GE(entriesIn(dir.path()), entries);
        EXPECT_LE(entriesIn(dir.path()), entries + 1);  // at most the new file, never a temporary
        for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
            EXPECT_EQ(entry.path().filename().string().rfind(".filtaro-", 0), std::string::npos);
        }
    }
}

// As an ordinary user: what the user may not write is refused untouched, and
// a file the user may write is saved whatever the folder, keeping its owner,
// group and permissions (in place, when a new file could not keep them).
TEST(ReplaceFile, PermissionsAsAnOrdinaryUser) {
    const std::optional<OrdinaryUser> user = ordinaryUser();
    if (!user)
        GTEST_SKIP() << "needs an ordinary user: running as root without a way to become one";
    const bool root = geteuid() == 0;
    const struct Case {
        const char* name;
        bool userFolder;  // the folder belongs to the user, else it is not writable for them
        bool exists;
        bool userOwner;  // the file belongs to the user, else to root
        bool userGroup;  // the file's group is the user's, else root's
        mode_t mode;
        bool saved;
        bool inPlace;  // the file stays the same file (inode)
    } cases[] = {
        {"read-only file", true, true, true, true, 0444, false, true},
        {"another user's file it may only read", true, true, false, false, 0644, false, true},
        {"writable file in a folder it may not write", false, true, false, false, 0666, true, true},
        {"another user's writable file", true, true, false, false, 0666, true, true},
        {"own file of a group it is not in", true, true, true, false, 0664, true, true},
        {"own file", true, true, true, true, 0640, true, false},
        {"new file in a folder it may not write", false, false, true, true, 0, false, false},
        {"new file", true, false, true, true, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!root && (!c.userOwner || !c.userGroup)) {
            std::cout << "skipped (needs root to set up another owner): " << c.name << "\n";
            continue;
        }
        ScratchDir dir;
        fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
        const std::string folder = dir.file("folder");
        fs::create_directory(folder);
        if (c.userFolder) {
            ASSERT_EQ(chown(folder.c_str(), user->uid, user->gid), 0);
        } else {
            fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
        }
        const std::string file = folder + "/a.dat";
        struct stat before {};
        if (c.exists) {
            writeFileBytes(file, "old");
            ASSERT_EQ(chown(file.c_str(), c.userOwner ? user->uid : 0, c.userGroup ? user->gid : 0),
                      0);
            ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
            before = statOf(file);
        }
        if (!c.userFolder && !root) {
            fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        }

        const int status = runAsUser(*user, [&] { return replace(file, "new content") ? 0 : 1; });
        ASSERT_TRUE(status == 0 || status == 1) << "save ended with status " << status;
        EXPECT_EQ(status == 0, c.saved);
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_EQ(entriesIn(folder), c.exists || c.saved ? 1u : 0u);  // no temporary file
        if (!c.exists) continue;
        EXPECT_EQ(readFileBytes(file), c.saved ? "new content" : "old");
        const struct stat after = statOf(file);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino == before.st_ino, c.inPlace);
    }
}

// The superuser may write a read-only file, as with any other tool; its
// permissions stay.
TEST(ReplaceFile, SuperuserWritesAReadOnlyFile) {
    if (geteuid() != 0) GTEST_SKIP() << "runs as root only";
    ScratchDir dir;
    const std::string file = dir.file("a.dat");
    writeFileBytes(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    EXPECT_TRUE(replace(file, "new"));
    EXPECT_EQ(readFileBytes(file), "new");
    EXPECT_EQ(statOf(file).st_mode & 07777, 0444u);
}

// The three ways a save writes: a new file, a replacement by rename, and a
// write in place (the file has another name).
enum class Target { New, Existing, HardLinked };
const struct {
    const char* name;
    Target target;
} SaveWays[] = {
    {"new file", Target::New},
    {"existing file", Target::Existing},
    {"file with another name", Target::HardLinked},
};

// The files of a folder, set up for one way of saving, with "old" content.
void setUpTarget(const std::string& folder, Target target, const std::string& old) {
    if (target == Target::New) return;
    writeFileBytes(folder + "/a.dat", old);
    if (target == Target::HardLinked) fs::create_hard_link(folder + "/a.dat", folder + "/b.dat");
}

// A file-size limit below the new content: the save fails with EFBIG and
// the process lives on, without the test ignoring the signal for it.
TEST(ReplaceFile, SizeLimitFailsTheSaveNotTheProcess) {
    const std::string content(2784, 'n');
    for (const auto& way : SaveWays) {
        SCOPED_TRACE(way.name);
        ScratchDir dir;
        setUpTarget(dir.path().string(), way.target, "old");
        const std::size_t entries = entriesIn(dir.path());
        const int status = runInChild([&] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1000;
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
            if (replace(dir.file("a.dat"), content)) return 1;
            return errno == EFBIG ? 0 : 2;
        });
        EXPECT_EQ(status, 0) << "1: saved; 2: another error; 128 + n: killed by signal n";
        EXPECT_EQ(entriesIn(dir.path()), entries);
        if (way.target != Target::New) {
            EXPECT_EQ(readFileBytes(dir.file("a.dat")), "old");
        }
    }
}

// A full disk: a small tmpfs in a private mount namespace of a child. The
// checks run in the child, which reports the first one that failed.
TEST(ReplaceFile, FullDiskFailsBeforeTheFileIsTouched) {
    // Larger than one page, so that even the write in place needs new space.
    const std::string content(8000, 'n');
    for (const auto& way : SaveWays) {
        SCOPED_TRACE(way.name);
        ScratchDir dir;
        const std::string root = dir.path().string();
        const int status = runInChild([&] {
            if (unshare(CLONE_NEWNS) != 0 ||
                mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                mount("tmpfs", root.c_str(), "tmpfs", 0, "size=64k") != 0) {
                return 77;
            }
            setUpTarget(root, way.target, "old");
            const int filler = open((root + "/filler").c_str(), O_WRONLY | O_CREAT, 0600);
            const std::string block(4096, 'f');
            while (write(filler, block.data(), block.size()) > 0) {
            }
            close(filler);
            const std::size_t entries = entriesIn(root);
            if (replace(root + "/a.dat", content)) return 1;
            if (errno != ENOSPC) return 2;
            if (entriesIn(root) != entries) return 3;
            if (way.target != Target::New && readFileBytes(root + "/a.dat") != "old") return 4;
            return 0;
        });
        if (status == 77) GTEST_SKIP() << "needs a small tmpfs, and this process may not mount one";
        EXPECT_EQ(status, 0) << "1: saved; 2: another error; 3: a file left or lost; 4: old "
                                "content changed; 128 + n: killed by signal n";
    }
}

}  // namespace
