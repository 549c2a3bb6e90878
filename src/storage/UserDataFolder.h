#pragma once
// Where the program keeps data of its own for the user, apart from the
// files the user chooses: the XDG data directory ($XDG_DATA_HOME, else
// ~/.local/share). On Windows it is %APPDATA%. This is the one place that
// knows; should the lookup grow, it moves into per-system files.

#include <string>

// The folder, without a trailing separator; "" when the environment names
// none (no HOME, or on Windows no APPDATA).
std::string userDataFolder();
