#pragma once
// The tokens of a filter text line's parameters: words (letters), numbers
// (digits with sign, separators and exponent) and single other characters.
// Units may stick to their number ("63Hz", "-5dB"); both forms give the same
// tokens. Internal to the filter text reader.

#include <string>
#include <string_view>
#include <vector>

struct TextToken {
    enum class Kind { Word, Number, Other } kind;
    std::string text;
};

std::vector<TextToken> tokenize(std::string_view text);

// ASCII letter case aside.
bool sameWord(std::string_view a, std::string_view b);

// Without blanks, tabs and a carriage return at either end.
std::string_view trimmed(std::string_view text);

// The text in double quotes, for messages that name what a line says.
std::string quoted(std::string_view text);
