#include "platform/FileNameCheck.h"

#include <array>
#include <cctype>

namespace {

bool isSeparator(char ch) {
    return ch == '/' || ch == '\\';
}

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The part of a name that says the device: before the first dot, without
// the blanks at its end.
std::string_view deviceStem(std::string_view name) {
    name = name.substr(0, name.find('.'));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name;
}

bool isDeviceName(std::string_view stem) {
    static constexpr std::array<std::string_view, 6> Plain = {"CON", "PRN",    "AUX",
                                                              "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : Plain) {
        if (sameLetters(stem, device)) return true;
    }
    if (stem.size() < 4) return false;
    const std::string_view port = stem.substr(0, 3);
    if (!sameLetters(port, "COM") && !sameLetters(port, "LPT")) return false;
    const std::string_view number = stem.substr(3);
    // 0..9, and the superscripts ¹ ² ³ (UTF-8), which Windows counts as digits here.
    return (number.size() == 1 && std::isdigit(static_cast<unsigned char>(number[0]))) ||
           number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3";
}

FileNameProblem problemOfName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return {};
    for (char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20) {
            static constexpr char Hex[] = "0123456789ABCDEF";
            return {FileNameProblem::ReservedCharacter,
                    {'\\', 'x', Hex[byte >> 4], Hex[byte & 15]}};
        }
        if (std::string_view("<>:\"|?*").find(ch) != std::string_view::npos) {
            return {FileNameProblem::ReservedCharacter, std::string(1, ch)};
        }
    }
    if (name.back() == '.' || name.back() == ' ') {
        std::string_view kept = name;
        while (!kept.empty() && (kept.back() == '.' || kept.back() == ' ')) kept.remove_suffix(1);
        return {FileNameProblem::TrailingDotOrBlank, std::string(kept)};
    }
    if (isDeviceName(deviceStem(name))) {
        return {FileNameProblem::DeviceName, std::string(deviceStem(name))};
    }
    return {};
}

}  // namespace

FileNameProblem windowsFileNameProblem(std::string_view path) {
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) return {};
    std::size_t names = 0;  // where the names begin
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        names = 2;  // a drive
    } else if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        // \\server\share: neither is a name on the disk.
        names = 2;
        for (int part = 0; part < 2 && names < path.size(); ++part) {
            while (names < path.size() && !isSeparator(path[names])) ++names;
            if (names < path.size()) ++names;
        }
    }
    while (names < path.size()) {
        std::size_t end = names;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        const FileNameProblem problem = problemOfName(path.substr(names, end - names));
        if (problem.kind != FileNameProblem::None) return problem;
        names = end + 1;
    }
    return {};
}
