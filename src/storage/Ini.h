#pragma once
// The program's configuration: "FILTARO.INI" in the current directory. Every
// read and write goes to the file; nothing is kept in memory between calls,
// so a change of the current directory (a file dialog) changes the file that
// is used. The file is read once per call, whatever the number of values
// it delivers (loadIniSettings), and only its first megabyte (see
// PrivateProfile.h).

#include <cstddef>
#include <string>
#include <string_view>

constexpr char IniFileName[] = "FILTARO.INI";
// Values are read as into a C buffer of 30 characters, terminator included:
// a longer value arrives as its first 29 characters.
constexpr std::size_t IniValueCapacity = 30;

// The only section and keys in use, with the defaults callers apply when a
// read returns 0.
constexpr char IniSectionCommunication[] = "COMMUNICATION";
constexpr char IniKeyPort[] = "Port";          // a port name such as "COM3"
constexpr char IniKeyBaudrate[] = "Baudrate";  // bits per second; only edited by hand
constexpr char DefaultPortName[] = "COM1";
constexpr int DefaultBaudrate = 9600;

// Every setting of the file, with the defaults applied, from one reading.
struct IniSettings {
    std::string portName = DefaultPortName;  // "Port"; missing or empty: "COM1"
    // "Baudrate"; missing, not a decimal number or not positive: 9600 (no
    // line runs at zero or fewer bits per second).
    int baudRate = DefaultBaudrate;
};
IniSettings loadIniSettings();

// The current directory, a separator and "FILTARO.INI", built anew on each
// call. "" when the process has no current directory; reads then find
// nothing and writes fail.
std::string iniFilePath();

// Single values, one reading of the file each.
//
// Reads a decimal integer. Returns the number of characters read, or 0 when
// the key is missing, empty or not a decimal integer in the range of int;
// `dest` is set only when the result is not 0.
int readIniInt(std::string_view section, std::string_view key, int& dest);

// Writes a text, creating the file, the section or the key as needed; the
// value reads back as it was given (see PrivateProfile.h). Returns non-zero
// on success; a failed or refused write leaves the file as it was.
int writeIniString(std::string_view section, std::string_view key, std::string_view value);
