#include <gtest/gtest.h>

#include <string>

#include "model/Utf8.h"

namespace {

TEST(Utf8, SequencesAreCheckedStrictly) {
    const struct {
        std::string bytes;
        std::size_t length;  // of the sequence at byte 0
    } cases[] = {
        {"A", 1},
        {"\x7F", 1},
        {"\xC3\xA4", 2},          // ä
        {"\xE2\x82\xAC", 3},      // €
        {"\xF0\x9F\x8E\xB5", 4},  // U+1F3B5
        {"\xF4\x8F\xBF\xBF", 4},  // U+10FFFF, the last
        {"\x80", 0},              // a continuation byte alone
        {"\xC0\x80", 0},          // overlong forms
        {"\xC1\xBF", 0},
        {"\xE0\x9F\xBF", 0},
        {"\xF0\x8F\xBF\xBF", 0},
        {"\xED\xA0\x80", 0},      // a surrogate
        {"\xF4\x90\x80\x80", 0},  // beyond U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xFF", 0},
        {"\xE4rger", 0},  // Latin-1
        {"\xE2\x82", 0},  // cut short
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8SequenceLength(c.bytes, 0), c.length) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(utf8SequenceLength("a\xC3\xA4", 1), 2u);
    EXPECT_EQ(utf8SequenceLength("a", 1), 0u) << "past the end";
}

TEST(Utf8, AQuotedExcerptStopsAfterFortyCharacters) {
    const std::string forty(40, 'x');
    std::string umlauts;
    for (int i = 0; i < 45; ++i) umlauts += "\xC3\xA4";
    const struct {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"", "\"\""},
        {"12,5x", "\"12,5x\""},
        {forty, "\"" + forty + "\""},
        {forty + "y", "\"" + forty + "…\""},
        {std::string(1 << 20, '7'), "\"" + std::string(40, '7') + "…\""},
        // Characters, not bytes: 40 of the 45 two-byte umlauts.
        {umlauts, "\"" + umlauts.substr(0, 80) + "…\""},
        // A byte that is no UTF-8 is one character and stays as it is.
        {"\xFF" + forty, "\"\xFF" + std::string(39, 'x') + "…\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quotedExcerpt(c.text), c.quoted) << c.text.substr(0, 50);
    }
}

}  // namespace
