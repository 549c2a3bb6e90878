#pragma once
// The process's current directory: relative paths are resolved against it,
// "FILTARO.INI" and "Filtaro.dat" live in it, and a file dialog may move it.

#include <string>

// The current directory as an absolute path, of any length, or "" when the
// process has none (its directory was removed meanwhile).
std::string currentDirectory();

// Makes `path` the current directory; false when that is not possible.
bool setCurrentDirectory(const std::string& path);
