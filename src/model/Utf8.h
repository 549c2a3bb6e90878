#pragma once
// UTF-8 as the image's text fields, channel names and file names hold it,
// checked strictly: overlong forms, surrogates and code points above
// U+10FFFF are no UTF-8 (RFC 3629).

#include <cstddef>
#include <string_view>

// The length (1..4) of the UTF-8 sequence that starts at byte `i` of `s`,
// or 0 when the bytes there are none.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i);
