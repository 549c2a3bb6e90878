#pragma once
// Private-profile (INI file) access with the semantics of the Windows
// functions the program's configuration code is written against:
//
// - "[Section]" lines open a section, "Key=Value" lines inside it hold the
//   values; section and key names match without regard to case, and blanks
//   around names and values are ignored. A value enclosed in a matching pair
//   of quotes is delivered without them. The first matching section and key
//   count. Lines may end in LF or CRLF; a leading UTF-8 byte order mark is
//   skipped.
// - A write changes only the line of its key (or adds the key, or the
//   section and the key); every other byte of the file stays as it was.
//
// Every call goes to the file; nothing is cached.

#include <cstddef>
#include <string>
#include <string_view>

// Delivers the value of `key` in `section` of the file at `path` in `value`,
// or `defaultText` when the file, the section or the key does not exist.
// Like a C buffer of `capacity` characters with its terminator, the text is
// cut to its first `capacity` - 1 characters. Returns the number of
// characters delivered (0 for a missing key with an empty default).
std::size_t getPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultText, std::string& value,
                                    std::size_t capacity, const std::string& path);

// Sets `key` in `section` of the file at `path` to `value`, creating the
// file, the section or the key as needed. The file is replaced as a whole
// (see ReplaceFile.h), so a failure leaves it as it was. False when the file
// cannot be read or written, and for a name or value that cannot be stored
// in a line of its own (an empty name, a line break, "]" in a section name,
// "=" in a key name).
bool writePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);
