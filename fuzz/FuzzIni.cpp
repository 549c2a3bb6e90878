// The INI reader and writer: any file content, any section, key and value.
// Input: three bytes giving the lengths of section, key and value, those
// three texts, then the file's content.
//
// Reading never fails whatever the content. A write either refuses a name or
// value that no line can hold (exactly those), or gives a content in which
// the key reads back as the value, every other key reads as before, and
// every other byte stays: only the key's own line changed, or a line break
// was completed and at most a section line and the key's line were added.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "platform/PrivateProfile.h"

namespace {

constexpr std::string_view Blanks = " \t";

std::string_view trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(Blanks) - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool storable(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaks = [](std::string_view s) { return s.find_first_of("\r\n") != s.npos; };
    section = trim(section);
    key = trim(key);
    return !section.empty() && !key.empty() && !breaks(section) && !breaks(key) && !breaks(value) &&
           section.find(']') == section.npos && key.find('=') == key.npos && key.front() != '[' &&
           key.front() != ';';
}

std::vector<std::string_view> split(std::string_view s) {
    std::vector<std::string_view> parts;
    for (std::size_t pos = 0;;) {
        const std::size_t nl = s.find('\n', pos);
        parts.push_back(s.substr(pos, nl == s.npos ? s.npos : nl - pos));
        if (nl == s.npos) return parts;
        pos = nl + 1;
    }
}

// Every section and key name a line of the content could stand for; the
// reader decides which of them exist.
std::vector<std::pair<std::string_view, std::string_view>> candidateNames(std::string_view c) {
    std::vector<std::pair<std::string_view, std::string_view>> names;
    std::string_view section;
    for (std::string_view line : split(c)) {
        const std::string_view t = trim(line);
        if (!t.empty() && t.front() == '[') {
            const std::string_view inner = t.substr(1);
            section = trim(inner.substr(0, inner.find(']')));
        } else if (const std::size_t eq = line.find('='); eq != line.npos) {
            names.emplace_back(section, trim(line.substr(0, eq)));
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto sectionLength = in.take<std::uint8_t>();
    const auto keyLength = in.take<std::uint8_t>();
    const auto valueLength = in.take<std::uint8_t>();
    const std::string_view section = in.takeBytes(sectionLength);
    const std::string_view key = in.takeBytes(keyLength);
    const std::string_view value = in.takeBytes(valueLength);
    const std::string_view content = in.rest();

    const PrivateProfile before{std::string(content)};
    (void)before.value(section, key);

    const auto written = withProfileValue(content, section, key, value);
    fuzzCheck(written.has_value() == storable(section, key, value),
              "refused exactly what cannot be stored");
    if (!written) return 0;

    const PrivateProfile after{*written};
    fuzzCheck(after.value(section, key) == std::string(value), "the value reads back");
    // Every lookup reads the whole content: a sample of at most 16 names
    // spread over the file keeps long inputs at thousands a second.
    const auto names = candidateNames(content);
    const std::size_t step = names.size() / 16 + 1;
    for (std::size_t i = 0; i < names.size(); i += step) {
        const auto& [s, k] = names[i];
        if (sameName(trim(s), trim(section)) && sameName(k, trim(key))) continue;
        fuzzCheck(after.value(s, k) == before.value(s, k), "every other key reads as before");
    }

    // Byte for byte: apart from a common beginning and end, either one
    // line's text was changed (no line break on either side), or bytes were
    // only added: at most a completed line break, a section and a key line.
    const std::string_view out = *written;
    std::size_t prefix = 0;
    while (prefix < content.size() && prefix < out.size() && content[prefix] == out[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix + prefix < content.size() && suffix + prefix < out.size() &&
           content[content.size() - 1 - suffix] == out[out.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::string_view removed = content.substr(prefix, content.size() - prefix - suffix);
    const std::string_view added = out.substr(prefix, out.size() - prefix - suffix);
    const auto breaks = [](std::string_view t) { return std::count(t.begin(), t.end(), '\n'); };
    fuzzCheck(
        (breaks(removed) == 0 && breaks(added) == 0) || (removed.empty() && breaks(added) <= 3),
        "only the key's line changed, or lines were added");
    return 0;
}
