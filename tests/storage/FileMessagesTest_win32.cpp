#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/ReplaceFile.h"
#include "platform/ReplaceFileCalls_win32.h"
#include "storage/FileMessages.h"
#include "support/ScratchDir.h"

namespace {

std::string saveFailure(const std::string& path) {
    if (replaceFileContents(path, "x", 1)) return "saved";
    return fileSaveFailure(path);
}

std::string reason(const std::string& message) {
    const std::size_t open = message.find(" (");
    return open == std::string::npos ? message : message.substr(open + 2);
}

// What a Windows user is told, for what only Windows does.
TEST(FileMessages, WindowsFailuresAreToldAsWhatTheyAre) {
    ScratchDir dir(true);

    // A name outside the ANSI code page is looked at as the user wrote it.
    std::ofstream(std::filesystem::path(L"kurz-\u03a9.dat"), std::ios::binary) << "0123456789";
    EXPECT_EQ(reason(fileOpenFailure("kurz-Ω.dat", 2784)), "10 Bytes statt 2784).");

    // Names Windows would not take as written.
    EXPECT_EQ(reason(saveFailure("a<b.dat")),
              "das Zeichen \"<\" ist in Dateinamen nicht erlaubt).");
    EXPECT_EQ(reason(saveFailure("nul.dat")), "\"nul\" ist unter Windows ein Gerätename).");
    EXPECT_EQ(reason(fileOpenFailure("CON", 2784)), "\"CON\" ist unter Windows ein Gerätename).");
    EXPECT_EQ(reason(saveFailure("Bass.dat.")),
              "Windows ließe Punkt und Leerzeichen am Ende weg und nähme \"Bass.dat\").");

    // A file another program has open without letting others write it.
    writeFileBytes("held.dat", "old");
    const HANDLE held =
        CreateFileW(L"held.dat", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(reason(saveFailure("held.dat")), "ein anderes Programm hat die Datei geöffnet).");
    CloseHandle(held);

    // A failure errno has no word for: Windows' own text and its code.
    static constexpr auto netnameDeleted = [](LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID) {
        SetLastError(ERROR_NETNAME_DELETED);
        return FALSE;
    };
    const ReplaceFileCalls calls{netnameDeleted, MoveFileExW};
    setReplaceFileCallsForTest(&calls);
    const std::string message = reason(saveFailure("held.dat"));
    setReplaceFileCallsForTest(nullptr);
    EXPECT_TRUE(message.ends_with(", Windows-Fehler 64).")) << message;
    EXPECT_GT(message.size(), std::string(", Windows-Fehler 64).").size()) << message;
    EXPECT_EQ(message.find("Systemfehler"), std::string::npos) << message;
    EXPECT_EQ(readFileBytes("held.dat"), "old");
}

}  // namespace
