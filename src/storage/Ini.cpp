#include "storage/Ini.h"

#include <cctype>
#include <climits>
#include <filesystem>

#include "platform/CurrentDirectory.h"
#include "platform/PrivateProfile.h"

std::string iniFilePath() {
    const std::string dir = currentDirectory();
    if (dir.empty()) {
        return {};
    }
    // The separator is appended even after a root directory: the doubled
    // separator is accepted by every platform the program runs on.
    return dir + static_cast<char>(std::filesystem::path::preferred_separator) + IniFileName;
}

// A value as "%d" reads it: leading blanks, an optional sign, at least one
// digit; what follows the digits is ignored. False for anything else and for
// a number outside int, where "%d" itself would be undefined.
static bool parseDecimal(const std::string& text, int& dest) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long magnitude = 0;
    const std::size_t firstDigit = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    if (i == firstDigit) {
        return false;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) {
        return false;
    }
    dest = static_cast<int>(value);
    return true;
}

static int readIniValue(std::string_view section, std::string_view key, std::string& value) {
    const std::string path = iniFilePath();
    if (path.empty()) {
        return 0;
    }
    return static_cast<int>(
        getPrivateProfileString(section, key, "", value, IniValueCapacity, path));
}

int readIniInt(std::string_view section, std::string_view key, int& dest) {
    std::string text;
    const int count = readIniValue(section, key, text);
    if (count == 0 || !parseDecimal(text, dest)) {
        return 0;
    }
    return count;
}

int readIniString(std::string_view section, std::string_view key, std::string& dest) {
    std::string text;
    const int count = readIniValue(section, key, text);
    if (count != 0) {
        dest = text;
    }
    return count;
}

int writeIniString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string path = iniFilePath();
    return !path.empty() && writePrivateProfileString(section, key, value, path) ? 1 : 0;
}
