#pragma once
// UTF-8 as the image's text fields, channel names and file names hold it,
// checked strictly: overlong forms, surrogates and code points above
// U+10FFFF are no UTF-8 (RFC 3629).

#include <cstddef>
#include <string>
#include <string_view>

// The length (1..4) of the UTF-8 sequence that starts at byte `i` of `s`,
// or 0 when the bytes there are none.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i);

// How many characters of a field a message quotes: a message box shows a
// sentence, not whatever a file brought along (a "number" a megabyte long).
constexpr std::size_t QuotedCharactersMax = 40;

// `text` in double quotes, cut after `maxCharacters` characters with "…"
// (a byte that is no UTF-8 counts as one character and is kept as it is).
std::string quotedExcerpt(std::string_view text, std::size_t maxCharacters = QuotedCharactersMax);
