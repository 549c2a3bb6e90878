#pragma once
// Text from files and arguments as filtaro-cli prints it: one line that a
// terminal shows as it is. UTF-8 passes unchanged; every byte that is no
// UTF-8 and every control character (C0, DEL and C1, line breaks included)
// is written as \xNN, byte by byte, so that a damaged file or an odd file
// name can neither send control sequences nor break a line in two.

#include <string>
#include <string_view>

std::string terminalText(std::string_view text);
