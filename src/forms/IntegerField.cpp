#include "forms/IntegerField.h"

#include <cstdint>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

IntegerFieldResult parseIntegerField(std::string_view text, int lo, int hi) {
    std::size_t i = 0;
    std::size_t end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end) return {IntegerFieldError::NotAnInteger, 0};
    std::int64_t magnitude = 0;
    bool huge = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return {IntegerFieldError::NotAnInteger, 0};
        if (!huge) {
            magnitude = magnitude * 10 + (c - '0');
            huge = magnitude > (std::int64_t{1} << 40);  // far beyond any int
        }
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (huge || v < lo || v > hi) return {IntegerFieldError::OutOfRange, 0};
    return {IntegerFieldError::None, static_cast<int>(v)};
}

std::string integerFieldPrompt(IntegerFieldError error, int lo, int hi) {
    switch (error) {
        case IntegerFieldError::NotAnInteger:
            return "Geben Sie eine ganze Zahl ein.";
        case IntegerFieldError::OutOfRange:
            return "Geben Sie eine ganze Zahl zwischen " + std::to_string(lo) + " und " +
                   std::to_string(hi) + " ein.";
        case IntegerFieldError::None:
            break;
    }
    return {};
}
