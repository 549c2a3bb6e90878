#pragma once
// The file name the window title and the save at program end use for a path
// the user chose in the Open or Save dialog, and the name the window's
// messages give any other file.

#include <string>
#include <string_view>

// "None" when the path holds no "." anywhere (not even in a directory part);
// otherwise the text after the last path separator, or the whole path when it
// has none. Both "/" and "\" separate, so a path typed the Windows way gives
// the same name.
std::string fileNameOfPath(std::string_view path);

// The text after the last path separator ("/" or "\"), or the whole path
// when it has none, whether or not it holds a ".": how a message names a
// measurement, a filter text or any file the title does not show.
std::string baseNameOfPath(std::string_view path);
