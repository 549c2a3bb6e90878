#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/ReplaceFile.h"
#include "platform/ReplaceFileCalls_win32.h"
#include "support/ScratchDir.h"

namespace fs = std::filesystem;

namespace {

// (windows.h makes ReplaceFile a macro: the suite is ReplaceFileContents.)
bool replace(const std::string& path, const std::string& bytes) {
    return replaceFileContents(path, bytes.data(), bytes.size());
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(fs::path(path).wstring().c_str());
}

TEST(ReplaceFileContents, NewAndExistingFilesGetTheContentAndKeepTheirAttributes) {
    ScratchDir dir;
    const std::string file = dir.file("data.dat");
    ASSERT_TRUE(replace(file, "first"));
    EXPECT_EQ(readFileBytes(file), "first");

    ASSERT_TRUE(SetFileAttributesW(fs::path(file).wstring().c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(replace(file, std::string("second\r\n\0\x1A", 10)));
    EXPECT_EQ(readFileBytes(file), std::string("second\r\n\0\x1A", 10));  // bytes, no text mode
    EXPECT_NE(attributesOf(file) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(entriesIn(dir.path()), 1u);  // no temporary file left behind
}

TEST(ReplaceFileContents, RefusesReadOnlyFilesAndWhatIsNoFile) {
    ScratchDir dir;
    writeFileBytes(dir.file("locked.dat"), "kept");
    ASSERT_TRUE(SetFileAttributesW(fs::path(dir.file("locked.dat")).wstring().c_str(),
                                   FILE_ATTRIBUTE_READONLY));
    fs::create_directory(dir.file("sub"));
    // Names Windows would not take as written: refused, never saved under
    // another name ("x.dat." would become "x.dat") or sent to a device.
    for (const std::string& path :
         {dir.file("locked.dat"), dir.file("sub"), dir.file("locked.dat") + "\\below",
          dir.file("missing-dir") + "\\x", dir.file("sub") + "\\", std::string("NUL"),
          std::string(), dir.file("a<b.dat"), dir.file("x.dat."), dir.file("x.dat "),
          dir.file("con.txt"), dir.file("COM1")}) {
        EXPECT_FALSE(replace(path, "x")) << path;
    }
    EXPECT_EQ(readFileBytes(dir.file("locked.dat")), "kept");
    EXPECT_TRUE(fs::is_empty(dir.file("sub")));
    EXPECT_EQ(entriesIn(dir.path()), 2u);
    SetFileAttributesW(fs::path(dir.file("locked.dat")).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Saved twice: the second save replaces a file whose full name is longer
// than MAX_PATH.
TEST(ReplaceFileContents, NamesLongerThanMaxPathSaveAgain) {
    ScratchDir dir;
    const std::string folder = dir.file(std::string(120, 'd'));
    ASSERT_TRUE(fs::create_directory(folder));
    const std::string file = folder + "\\" + std::string(140, 'f') + ".dat";
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));
    ASSERT_TRUE(replace(file, "first"));
    ASSERT_TRUE(replace(file, "second"));
    EXPECT_EQ(readFileBytes(file), "second");
    EXPECT_EQ(entriesIn(folder), 1u);
}

// ReplaceFileW as network shares, virus scanners and sync clients make it
// fail, each code leaving the files where its documentation says; and the
// moves that follow failing too. Whatever happens, the content of either
// side is deleted only once the other one has the file's name.
enum class OldFile { Stays, ToBackup, Gone };

struct Injected {
    DWORD code;
    OldFile old;
    bool forwardFails;  // the move of the new content to the file's name
    bool restoreFails;  // the move of the backup back to the file's name
};

const Injected* injected = nullptr;
std::wstring backupGiven;

BOOL WINAPI failingReplace(LPCWSTR replaced, LPCWSTR, LPCWSTR backup, DWORD, LPVOID, LPVOID) {
    backupGiven = backup != nullptr ? backup : L"";
    if (injected->old == OldFile::ToBackup) MoveFileExW(replaced, backup, 0);
    if (injected->old == OldFile::Gone) DeleteFileW(replaced);
    SetLastError(injected->code);
    return FALSE;
}

BOOL WINAPI failingMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (from == backupGiven ? injected->restoreFails : injected->forwardFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return MoveFileExW(from, to, flags);
}

std::vector<std::string> contentsIn(const fs::path& dir) {
    std::vector<std::string> contents;
    for (const auto& entry : fs::directory_iterator(dir)) {
        contents.push_back(readFileBytes(entry.path().string()));
    }
    std::sort(contents.begin(), contents.end());
    return contents;
}

TEST(ReplaceFileContents, FailedReplacesKeepTheLastCopyOfEachContent) {
    constexpr DWORD Sharing = ERROR_SHARING_VIOLATION;
    struct Case {
        const char* what;
        Injected injected;
        bool saved;
        std::vector<std::string> left;  // the contents in the folder afterwards
        bool named;                     // whether the file's name holds one of them
    };
    const Case cases[] = {
        {"1175: nothing moved", {1175, OldFile::Stays, false, false}, false, {"old"}, true},
        {"1176 with a backup name: nothing moved",
         {1176, OldFile::Stays, false, false},
         false,
         {"old"},
         true},
        {"1176, old file gone: the new one goes forward",
         {1176, OldFile::Gone, false, false},
         true,
         {"new"},
         true},
        {"1176, old file gone, no way forward: the new one stays",
         {1176, OldFile::Gone, true, false},
         false,
         {"new"},
         false},
        {"1177: the new one goes forward, the backup goes",
         {1177, OldFile::ToBackup, false, false},
         true,
         {"new"},
         true},
        {"1177, no way forward: the old one comes back",
         {1177, OldFile::ToBackup, true, false},
         false,
         {"old"},
         true},
        {"1177, no way forward or back: both stay",
         {1177, OldFile::ToBackup, true, true},
         false,
         {"new", "old"},
         false},
        {"another error: nothing moved",
         {Sharing, OldFile::Stays, false, false},
         false,
         {"old"},
         true},
    };
    const ReplaceFileCalls calls{failingReplace, failingMove};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string file = dir.file("data.dat");
        writeFileBytes(file, "old");
        injected = &c.injected;
        setReplaceFileCallsForTest(&calls);
        const bool saved = replace(file, "new");
        setReplaceFileCallsForTest(nullptr);
        EXPECT_EQ(saved, c.saved);
        EXPECT_EQ(contentsIn(dir.path()), c.left);
        EXPECT_EQ(fs::exists(file), c.named);
        if (c.named) {
            EXPECT_EQ(readFileBytes(file), c.saved ? "new" : "old");
        }
    }

    // A new file whose move fails leaves nothing behind.
    ScratchDir dir;
    const Injected moveFails{0, OldFile::Stays, true, true};
    injected = &moveFails;
    setReplaceFileCallsForTest(&calls);
    EXPECT_FALSE(replace(dir.file("new.dat"), "new"));
    setReplaceFileCallsForTest(nullptr);
    EXPECT_EQ(entriesIn(dir.path()), 0u);
}

}  // namespace
