#pragma once
// The line ending of a text file the program creates for people and other
// programs to read (a new FILTARO.INI): CRLF under Windows, as its own
// profile functions write it, LF elsewhere. A file that exists keeps the
// endings it has; files of data (parameter files, wire images) are bytes
// and the same on every system.

#include <string_view>

#ifdef _WIN32
inline constexpr std::string_view NativeLineEnding = "\r\n";
#else
inline constexpr std::string_view NativeLineEnding = "\n";
#endif
