#include <gtest/gtest.h>

#include "platform/FileNameCheck.h"

namespace {

using K = FileNameProblem::Kind;

// Microsoft's rules for file names ("Naming Files, Paths, and Namespaces"):
// reserved characters, DOS device names with or without an extension, and
// the dot or blank at a name's end that Windows drops.
TEST(FileNameCheck, WindowsNamesAsMicrosoftDocumentsThem) {
    struct Case {
        const char* path;
        K kind;
        const char* detail;
    };
    const Case cases[] = {
        {"Bass.dat", K::None, ""},
        {"C:\\Users\\Jörg\\Ω-Test.dat", K::None, ""},
        {"..\\presets/./a.b.c.dat", K::None, ""},
        {"\\\\server\\share\\x.dat", K::None, ""},
        {"C:x.dat", K::None, ""},
        {"console.dat", K::None, ""},  // only the whole name is a device
        {"COM10.dat", K::None, ""},
        {"LPT.dat", K::None, ""},
        {"COM\\x.dat", K::None, ""},
        {"\\\\?\\C:\\nul.", K::None, ""},  // the system's own namespace: as written
        {"\\\\.\\COM3", K::None, ""},
        {"a<b.dat", K::ReservedCharacter, "<"},
        {"dir\\what?.dat", K::ReservedCharacter, "?"},
        {"C:\\a\\b:stream", K::ReservedCharacter, ":"},
        {"x|y", K::ReservedCharacter, "|"},
        {"tab\there.dat", K::ReservedCharacter, "\\x09"},
        {"say\"hi\".dat", K::ReservedCharacter, "\""},
        {"NUL", K::DeviceName, "NUL"},
        {"con", K::DeviceName, "con"},
        {"Aux.txt", K::DeviceName, "Aux"},
        {"nul.tar.gz", K::DeviceName, "nul"},
        {"C:\\daten\\COM1", K::DeviceName, "COM1"},
        {"lpt9.dat", K::DeviceName, "lpt9"},
        {"COM\xC2\xB9.dat", K::DeviceName, "COM\xC2\xB9"},  // COM¹
        {"PRN .dat", K::DeviceName, "PRN"},
        {"CONOUT$", K::DeviceName, "CONOUT$"},
        {"Bass.dat.", K::TrailingDotOrBlank, "Bass.dat"},
        {"Bass.dat ", K::TrailingDotOrBlank, "Bass.dat"},
        {"Bass. . .", K::TrailingDotOrBlank, "Bass"},
        {"Ordner.\\x.dat", K::TrailingDotOrBlank, "Ordner"},
    };
    for (const Case& c : cases) {
        const FileNameProblem problem = windowsFileNameProblem(c.path);
        EXPECT_EQ(problem.kind, c.kind) << c.path;
        EXPECT_EQ(problem.detail, c.detail) << c.path;
    }
}

}  // namespace
