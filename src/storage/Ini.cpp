#include "storage/Ini.h"

#include <algorithm>
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

// A value as read into the C buffer of IniValueCapacity characters.
static int readValue(const PrivateProfile& ini, std::string_view section, std::string_view key,
                     std::string& value) {
    value = ini.value(section, key).value_or(std::string());
    value.resize(std::min(value.size(), IniValueCapacity - 1));
    return static_cast<int>(value.size());
}

static int readInt(const PrivateProfile& ini, std::string_view section, std::string_view key,
                   int& dest) {
    std::string text;
    const int count = readValue(ini, section, key, text);
    if (count == 0 || !parseDecimal(text, dest)) {
        return 0;
    }
    return count;
}

static int readString(const PrivateProfile& ini, std::string_view section, std::string_view key,
                      std::string& dest) {
    std::string text;
    const int count = readValue(ini, section, key, text);
    if (count != 0) {
        dest = text;
    }
    return count;
}

// The file of this moment; no file when the process has no current directory.
static PrivateProfile readIniFile() {
    const std::string path = iniFilePath();
    return path.empty() ? PrivateProfile() : PrivateProfile::read(path);
}

int readIniInt(std::string_view section, std::string_view key, int& dest) {
    return readInt(readIniFile(), section, key, dest);
}

IniSettings loadIniSettings() {
    const PrivateProfile ini = readIniFile();
    IniSettings settings;
    readString(ini, IniSectionCommunication, IniKeyPort, settings.portName);
    if (readInt(ini, IniSectionCommunication, IniKeyBaudrate, settings.baudRate) == 0 ||
        settings.baudRate <= 0) {
        settings.baudRate = DefaultBaudrate;
    }
    return settings;
}

int writeIniString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string path = iniFilePath();
    return !path.empty() && writePrivateProfileString(section, key, value, path) ? 1 : 0;
}
