#pragma once
// Text from Windows' UTF-16 calls (the command line, system messages) as the
// UTF-8 the program works in. File names go through Utf8Path instead.

#include <string>
#include <string_view>

// A lone surrogate becomes U+FFFD.
std::string utf8FromWide(std::wstring_view text);
