#include "interchange/TextTokens.h"

namespace {

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool startsNumber(std::string_view s, std::size_t i) {
    const char c = s[i];
    if (isDigit(c)) return true;
    const bool sign = c == '+' || c == '-';
    const bool sep = c == '.' || c == ',';
    if (!sign && !sep) return false;
    const std::size_t next = i + 1;
    if (next >= s.size()) return false;
    return isDigit(s[next]) || (sign && (s[next] == '.' || s[next] == ','));
}
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::vector<TextToken> tokenize(std::string_view s) {
    std::vector<TextToken> tokens;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (isLetter(c)) {
            const std::size_t start = i;
            while (i < s.size() && isLetter(s[i])) ++i;
            tokens.push_back({TextToken::Kind::Word, std::string(s.substr(start, i - start))});
        } else if (startsNumber(s, i)) {
            const std::size_t start = i;
            ++i;
            while (i < s.size() && (isDigit(s[i]) || s[i] == '.' || s[i] == ',')) ++i;
            // An exponent only when digits follow; "5dB" keeps its unit.
            if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E')) {
                std::size_t j = i + 1;
                if (s[j] == '+' || s[j] == '-') ++j;
                if (j < s.size() && isDigit(s[j])) {
                    i = j;
                    while (i < s.size() && isDigit(s[i])) ++i;
                }
            }
            tokens.push_back({TextToken::Kind::Number, std::string(s.substr(start, i - start))});
        } else {
            tokens.push_back({TextToken::Kind::Other, std::string(1, c)});
            ++i;
        }
    }
    return tokens;
}

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string quoted(std::string_view text) {
    std::string s;
    s.reserve(text.size() + 2);
    s += '"';
    s += text;
    s += '"';
    return s;
}
