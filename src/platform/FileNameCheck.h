#pragma once
// Names that Windows does not take as they are written. Windows refuses the
// characters < > : " | ? * and control characters in a name, opens a device
// for the names CON, PRN, AUX, NUL, COM0..COM9, LPT0..LPT9 (with any
// extension: "nul.txt" is NUL too), and silently drops a dot or blank at the
// end of a name, so "Bass.dat." would save as "Bass.dat". A file name that
// does one of these is refused with a message of its own instead of reaching
// the system. POSIX systems take any name; there the check finds nothing.

#include <string>
#include <string_view>

struct FileNameProblem {
    enum Kind { None, ReservedCharacter, DeviceName, TrailingDotOrBlank };
    Kind kind = None;
    // The character ("\x09" for a control character), the device name as
    // written ("nul" of "nul.txt"), or the name as Windows would take it.
    std::string detail;
};

// The first problem Windows has with any part of `utf8Path` (folders
// included; the drive, the server and share of a UNC path, "." and ".."
// are not names). Paths that start with "\\?\" or "\\.\" are the system's
// own namespaces and are taken as they are.
FileNameProblem windowsFileNameProblem(std::string_view utf8Path);

// The check of the system the program runs on: windowsFileNameProblem under
// Windows, nothing elsewhere.
FileNameProblem fileNameProblem(std::string_view utf8Path);
