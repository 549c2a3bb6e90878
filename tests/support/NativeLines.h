#pragma once
// A text as the program writes a new text file on this system: every "\n"
// becomes the system's line ending (CRLF under Windows).

#include <string>
#include <string_view>

#include "platform/LineEnding.h"

inline std::string nativeLines(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') {
            out += NativeLineEnding;
        } else {
            out += c;
        }
    }
    return out;
}
