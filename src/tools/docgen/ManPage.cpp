#include "tools/docgen/ManPage.h"

namespace {

std::string escapeChars(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

// "send DATEI [--port NAME]": the first word bold, the rest as it is.
std::string termLine(std::string_view term) {
    const std::size_t blank = term.find(' ');
    std::string line = "\\fB" + escapeChars(term.substr(0, blank)) + "\\fR";
    if (blank != std::string_view::npos) line += escapeChars(term.substr(blank));
    return line;
}

// Section headings are capitals in manual pages, German ones too.
std::string upperCase(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
        } else if (c == '\xC3' && i + 1 < text.size() &&
                   (text[i + 1] == '\xA4' || text[i + 1] == '\xB6' || text[i + 1] == '\xBC')) {
            out += c;  // ä ö ü to Ä Ö Ü: the same lead byte, 0x20 lower
            out += static_cast<char>(text[++i] - 0x20);
        } else {
            out += c;
        }
    }
    return out;
}

std::string synopsisPart(const HelpText& help) {
    return ".SH ÜBERSICHT\n" + termLine(help.synopsis) + '\n';
}

std::string descriptionPart(const HelpText& help) {
    std::string out = ".SH BESCHREIBUNG\n";
    for (const std::string& line : help.description) out += roffText(line) + '\n';
    return out;
}

std::string sectionsPart(const HelpText& help) {
    std::string out;
    for (const HelpSection& section : help.sections) {
        out += ".SH " + escapeChars(upperCase(section.heading)) + '\n';
        for (const HelpEntry& entry : section.entries) {
            out += ".TP\n" + termLine(entry.term) + '\n';
            if (!entry.text.empty()) out += roffText(entry.text) + '\n';
        }
    }
    return out;
}

void replaceAll(std::string& text, std::string_view word, std::string_view by) {
    for (std::size_t at = text.find(word); at != std::string::npos;
         at = text.find(word, at + by.size())) {
        text.replace(at, word.size(), by);
    }
}

}  // namespace

std::string roffText(std::string_view text) {
    std::string out = escapeChars(text);
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
    return out;
}

std::string renderManPage(std::string_view page, const HelpText& help, std::string_view version,
                          std::string_view date) {
    std::string out;
    while (!page.empty()) {
        const std::size_t end = page.find('\n');
        std::string line(page.substr(0, end));
        page = end == std::string_view::npos ? std::string_view() : page.substr(end + 1);
        if (line == "@SYNOPSIS@") {
            out += synopsisPart(help);
        } else if (line == "@DESCRIPTION@") {
            out += descriptionPart(help);
        } else if (line == "@SECTIONS@") {
            out += sectionsPart(help);
        } else {
            replaceAll(line, "@VERSION@", escapeChars(version));
            replaceAll(line, "@DATE@", escapeChars(date));
            out += line + '\n';
        }
    }
    return out;
}
