#include "interchange/DecimalText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digits, sign, separators and exponent that may form a number; the
// separators are then sorted out by the callers.
bool onlyNumberCharacters(std::string_view s) {
    if (s.empty()) return false;
    for (const char c : s) {
        if (!isDigit(c) && c != '.' && c != ',' && c != '+' && c != '-' && c != 'e' && c != 'E') {
            return false;
        }
    }
    return true;
}

// Parses a number that has at most one separator left, which must be a point.
std::optional<double> parsePlain(const std::string& s) {
    std::size_t start = s[0] == '+' ? 1 : 0;  // from_chars takes no plus sign
    if (start == s.size() || s[start] == '+') return std::nullopt;
    double value = 0.0;
    const char* first = s.data() + start;
    const char* last = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> parseDecimal(std::string_view text) {
    if (!onlyNumberCharacters(text)) return std::nullopt;
    const auto points = std::count(text.begin(), text.end(), '.');
    const auto commas = std::count(text.begin(), text.end(), ',');
    std::string plain(text);
    if (points == 0 || commas == 0) {
        if (points + commas > 1) return std::nullopt;
        for (char& c : plain) {
            if (c == ',') c = '.';
        }
        return parsePlain(plain);
    }
    // Both: the last separator is the decimal one and occurs once; every
    // other one groups the three digits that follow it.
    const std::size_t decimal = std::max(text.rfind('.'), text.rfind(','));
    const char decimalChar = text[decimal];
    if ((decimalChar == '.' ? points : commas) != 1) return std::nullopt;
    plain.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i == decimal) {
            plain += '.';
        } else if (c == '.' || c == ',') {
            const std::size_t next = text.find_first_of(".,", i + 1);
            if (i == 0 || !isDigit(text[i - 1]) || next - i != 4) return std::nullopt;
        } else {
            plain += c;
        }
    }
    return parsePlain(plain);
}

std::optional<double> parseFrequency(std::string_view text) {
    const std::size_t sep = text.find_first_of(".,");
    if (text.size() >= 5 && sep != std::string_view::npos &&
        text.find_first_of(".,eE", sep + 1) == std::string_view::npos && text.size() - sep == 4) {
        std::string joined(text.substr(0, sep));
        joined += text.substr(sep + 1);
        return parseDecimal(joined);
    }
    return parseDecimal(text);
}

std::string formatDecimal(double value, int maxDecimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", maxDecimals, value);
    std::string s(buf);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string formatReadValue(double value, int maxDecimals) {
    const double smallest = 0.5 * std::pow(10.0, -maxDecimals);
    if (value == 0.0 || (std::fabs(value) >= smallest && std::fabs(value) < 1e9)) {
        return formatDecimal(value, maxDecimals);
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3g", value);
    return buf;
}

std::string groupedCount(long long count) {
    const std::string digits = std::to_string(count);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0) out += "\u00A0";
        out += digits[i];
    }
    return out;
}

std::string formatSignedDecimal(double value, int maxDecimals) {
    std::string s = formatDecimal(value, maxDecimals);
    return s == "0" || s[0] == '-' ? s : "+" + s;
}
