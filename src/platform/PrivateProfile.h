#pragma once
// Private-profile (INI file) access with the semantics of the Windows
// functions the program's configuration code is written against:
//
// - "[Section]" lines open a section, "Key=Value" lines inside it hold the
//   values; section and key names match without regard to case, and blanks
//   around names and values are ignored. A value enclosed in a matching pair
//   of quotes is delivered without them. Lines that begin with ";" are
//   comments. The first matching section and key count. Lines end in LF or
//   CRLF, and a lone CR at the very end of the file (a last CRLF cut short)
//   ends the last line too; a leading UTF-8 byte order mark is skipped.
// - A write changes only the line of its key (or adds the key, or the
//   section and the key); every other line stays as it was, byte for byte,
//   except that a last line without a complete line ending gets one when a
//   line is added after it. What is written reads back as it was given: a
//   value with blanks at its ends, or enclosed in quotes, is written in
//   quotes; what no line can hold is refused. Added lines end like the
//   file's first line; a new file gets the system's line ending
//   (LineEnding.h: CRLF under Windows).
//
// A file is read once for any number of lookups (PrivateProfile::read), and
// only its first PrivateProfileSizeLimit bytes: a configuration is a few
// lines, and a huge file must not cost the program its start-up time and
// memory. A write refuses a file that is, or would become, larger.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

constexpr std::size_t PrivateProfileSizeLimit = std::size_t{1} << 20;

class PrivateProfile {
public:
    PrivateProfile() = default;  // no file: every lookup finds nothing
    explicit PrivateProfile(std::string content);

    // The file at `path`, read once. A missing file, or anything that is no
    // regular file or cannot be read, reads as an empty profile. Of a file
    // larger than PrivateProfileSizeLimit only the complete lines within
    // the limit count.
    static PrivateProfile read(const std::string& path);

    // The value of `key` in `section`: trimmed, and without a pair of
    // enclosing quotes. nullopt when the section or the key does not exist.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

private:
    std::string m_content;
};

// `content` with `key` in `section` set to `value`, creating the section or
// the key as needed; every other line stays. nullopt for a name or value
// that cannot be stored in a line of its own so that it reads back: an empty
// name, a line break in any of them, "]" in a section name, "=" in a key
// name, a key name that begins with "[" or ";".
std::optional<std::string> withProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key, std::string_view value);

// Sets `key` in `section` of the file at `path` to `value` (withProfileValue),
// creating the file as needed. The file is saved as a whole (see
// ReplaceFile.h), so a failure leaves it as it was. False when the file
// cannot be read or written, is or would become larger than
// PrivateProfileSizeLimit, or the name or value cannot be stored.
bool writePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);
