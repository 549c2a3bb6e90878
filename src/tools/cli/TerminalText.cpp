#include "tools/cli/TerminalText.h"

#include <cstdio>

#include "model/Utf8.h"

namespace {

bool isControl(std::string_view sequence) {
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1) return lead < 0x20 || lead == 0x7F;
    // U+0080..U+009F: C2 80..C2 9F.
    return sequence.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

void appendEscaped(std::string& out, std::string_view bytes) {
    for (const char c : bytes) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
        out += buf;
    }
}

}  // namespace

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8SequenceLength(text, i);
        const std::string_view sequence = text.substr(i, n == 0 ? 1 : n);
        if (n == 0 || isControl(sequence)) {
            appendEscaped(out, sequence);
        } else {
            out += sequence;
        }
        i += sequence.size();
    }
    return out;
}
