#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "platform/ReplaceFile.h"
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
    for (const std::string& path :
         {dir.file("locked.dat"), dir.file("sub"), dir.file("locked.dat") + "\\below",
          dir.file("missing-dir") + "\\x", dir.file("sub") + "\\", std::string("NUL"),
          std::string()}) {
        EXPECT_FALSE(replace(path, "x")) << path;
    }
    EXPECT_EQ(readFileBytes(dir.file("locked.dat")), "kept");
    EXPECT_TRUE(fs::is_empty(dir.file("sub")));
    EXPECT_EQ(entriesIn(dir.path()), 2u);
    SetFileAttributesW(fs::path(dir.file("locked.dat")).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
