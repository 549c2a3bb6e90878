#pragma once
// Where the program keeps data of its own for the user, apart from the
// files the user chooses: the XDG data directory ($XDG_DATA_HOME, else
// ~/.local/share) on POSIX systems, %APPDATA% under Windows. This is the
// one place that knows.

#include <string>

// The folder as UTF-8 text, without a trailing separator; "" when the
// environment names none (no HOME, or under Windows no APPDATA).
std::string userDataFolder();
