#include "model/Utf8.h"

#include <algorithm>

std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80;  // the range of the second byte, which rules out
    unsigned char hi = 0xBF;  // overlong forms, surrogates and too large values
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() - i < n || byte(1) < lo || byte(1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    }
    return n;
}

std::string quotedExcerpt(std::string_view text, std::size_t maxCharacters) {
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size() && characters < maxCharacters;
         ++characters) {
        end += std::max<std::size_t>(utf8SequenceLength(text, end), 1);
    }
    std::string quoted = "\"";
    quoted.append(text.substr(0, end));
    if (end < text.size()) quoted += "…";
    return quoted + "\"";
}
