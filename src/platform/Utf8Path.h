#pragma once
// File names travel through the program as UTF-8 text (from the command
// line, the file dialogs, the side file). Every file system call takes them
// through these two conversions, so that a name outside ASCII ("Ω-Test.dat")
// reaches the file system as the user wrote it: as UTF-16 under Windows,
// byte for byte on POSIX systems. A narrow std::filesystem::path or
// std::ifstream would read the text in the ANSI code page under Windows.

#include <filesystem>
#include <string>
#include <string_view>

// The path that the UTF-8 text names. Under Windows a text that is no UTF-8
// gives an empty path, which names no file; elsewhere the bytes are taken
// as they are.
std::filesystem::path pathFromUtf8(std::string_view utf8);

// The path as UTF-8 text; "" for a Windows name that has no UTF-8 form
// (a lone surrogate).
std::string utf8FromPath(const std::filesystem::path& path);
