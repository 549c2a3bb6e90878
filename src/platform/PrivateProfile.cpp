#include "platform/PrivateProfile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/LineEnding.h"
#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

namespace {

constexpr std::string_view Blanks = " \t";
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(Blanks) - first + 1);
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// One line of the file: where it starts in the content, its text, and its
// line ending as found ("\n", "\r\n", "\r" for a last line whose CRLF lost
// its LF, or "" for a last line without one).
struct Line {
    std::size_t begin;
    std::string_view text;
    std::string_view ending;
};

std::vector<Line> splitLines(std::string_view content, std::size_t from) {
    std::vector<Line> lines;
    std::size_t pos = from;
    while (pos < content.size()) {
        const std::size_t nl = content.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? content.size() : nl;
        std::size_t textEnd = end;
        if (textEnd > pos && content[textEnd - 1] == '\r') {
            --textEnd;
        }
        const std::size_t next = nl == std::string_view::npos ? content.size() : nl + 1;
        lines.push_back(
            {pos, content.substr(pos, textEnd - pos), content.substr(textEnd, next - textEnd)});
        pos = next;
    }
    return lines;
}

// What a line added after `line` needs first: a line break where the line
// has none, or the LF of a CRLF cut short.
std::string_view completion(const Line& line, std::string_view newline) {
    if (line.ending.empty()) return newline;
    if (line.ending == "\r") return "\n";
    return {};
}

// The file's first `limit` + 1 bytes at most (so a larger file shows);
// "" when it does not exist, nullopt when it exists but cannot be read as a
// file.
std::optional<std::string> readFile(const std::string& path, std::size_t limit) {
    std::error_code ec;
    const auto status = std::filesystem::status(pathFromUtf8(path), ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::string();
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return std::nullopt;
    }
    std::ifstream in(pathFromUtf8(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string content;
    std::vector<char> buffer(std::size_t{1} << 16);
    while (content.size() <= limit && in) {
        const std::size_t want = std::min(buffer.size(), limit + 1 - content.size());
        in.read(buffer.data(), static_cast<std::streamsize>(want));
        content.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return content;
}

std::size_t contentStart(std::string_view content) {
    return content.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
}

// The name of a "[Section]" line; nullopt for any other line.
std::optional<std::string_view> sectionName(std::string_view text) {
    const std::string_view t = trim(text);
    if (t.empty() || t.front() != '[') {
        return std::nullopt;
    }
    const std::string_view inner = t.substr(1);
    return trim(inner.substr(0, inner.find(']')));
}

// Where the section and the key were found (indices into the lines, -1 if not).
struct Location {
    int header = -1;
    int lastOfSection = -1;  // last line of the section with content (the header if none)
    int key = -1;
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location loc;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const std::string_view text = lines[static_cast<std::size_t>(i)].text;
        if (const auto name = sectionName(text)) {
            if (loc.header >= 0) {
                break;  // only the first section of that name counts
            }
            if (equalNoCase(*name, section)) {
                loc.header = loc.lastOfSection = i;
            }
            continue;
        }
        // Blank lines and comments at the end of a section usually lead
        // to the next one, so a new key goes before them.
        const std::string_view t = trim(text);
        if (loc.header < 0 || t.empty() || t.front() == ';') {
            continue;
        }
        loc.lastOfSection = i;
        const std::size_t eq = text.find('=');
        if (eq != std::string_view::npos && equalNoCase(trim(text.substr(0, eq)), key)) {
            loc.key = i;
            break;
        }
    }
    return loc;
}

bool isQuoted(std::string_view v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

std::string_view unquote(std::string_view v) {
    return isQuoted(v) ? v.substr(1, v.size() - 2) : v;
}

// The value as written into its line: in quotes when the reader would
// otherwise trim blanks at its ends or take off a pair of quotes.
std::string storedValue(std::string_view value) {
    const bool blankAtAnEnd =
        !value.empty() && (Blanks.find(value.front()) != std::string_view::npos ||
                           Blanks.find(value.back()) != std::string_view::npos);
    if (blankAtAnEnd || isQuoted(value)) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

}  // namespace

PrivateProfile::PrivateProfile(std::string content) : m_content(std::move(content)) {}

PrivateProfile PrivateProfile::read(const std::string& path) {
    std::string content = readFile(path, PrivateProfileSizeLimit).value_or(std::string());
    if (content.size() > PrivateProfileSizeLimit) {
        // Only complete lines within the limit.
        const std::size_t lastBreak = content.rfind('\n', PrivateProfileSizeLimit - 1);
        content.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    return PrivateProfile(std::move(content));
}

std::optional<std::string> PrivateProfile::value(std::string_view section,
                                                 std::string_view key) const {
    const auto lines = splitLines(m_content, contentStart(m_content));
    const Location loc = locate(lines, trim(section), trim(key));
    if (loc.key < 0) {
        return std::nullopt;
    }
    const std::string_view text = lines[static_cast<std::size_t>(loc.key)].text;
    return std::string(unquote(trim(text.substr(text.find('=') + 1))));
}

std::optional<std::string> withProfileValue(std::string_view content, std::string_view sectionIn,
                                            std::string_view keyIn, std::string_view value) {
    const std::string_view section = trim(sectionIn);
    const std::string_view key = trim(keyIn);
    const auto breaksLine = [](std::string_view s) {
        return s.find_first_of("\r\n") != std::string_view::npos;
    };
    if (section.empty() || key.empty() || breaksLine(section) || breaksLine(key) ||
        breaksLine(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';') {
        return std::nullopt;
    }
    const auto lines = splitLines(content, contentStart(content));
    std::string_view newline = NativeLineEnding;  // for a file without any line break yet
    for (const Line& line : lines) {
        if (!line.ending.empty()) {
            newline = line.ending == "\n" ? "\n" : "\r\n";
            break;
        }
    }
    const Location loc = locate(lines, section, key);
    const std::string stored = storedValue(value);

    std::string out;
    if (loc.key >= 0) {
        // Keep the line up to the value (its spelling and blanks) and its ending.
        const Line& line = lines[static_cast<std::size_t>(loc.key)];
        const std::size_t eq = line.text.find('=');
        const std::size_t afterBlanks = line.text.find_first_not_of(Blanks, eq + 1);
        const std::size_t valueAt =
            line.begin + (afterBlanks == std::string_view::npos ? line.text.size() : afterBlanks);
        out = content.substr(0, valueAt);
        out += stored;
        out += content.substr(line.begin + line.text.size());
        return out;
    }
    const std::string keyLine = std::string(key) + "=" + stored;
    if (loc.header >= 0) {
        const Line& last = lines[static_cast<std::size_t>(loc.lastOfSection)];
        const std::size_t insertAt = last.begin + last.text.size() + last.ending.size();
        out = content.substr(0, insertAt);
        out += completion(last, newline);
        out += keyLine;
        out += newline;
        out += content.substr(insertAt);
        return out;
    }
    out = content;
    if (!lines.empty()) {
        out += completion(lines.back(), newline);
    }
    out += "[" + std::string(section) + "]";
    out += newline;
    out += keyLine;
    out += newline;
    return out;
}

bool writePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
    const auto content = readFile(path, PrivateProfileSizeLimit);
    // Never replace a file that could not be read whole.
    if (!content || content->size() > PrivateProfileSizeLimit) {
        return false;
    }
    const auto out = withProfileValue(*content, section, key, value);
    if (!out || out->size() > PrivateProfileSizeLimit) {
        return false;
    }
    return replaceFileContents(path, out->data(), out->size());
}
