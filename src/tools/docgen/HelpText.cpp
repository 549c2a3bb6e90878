#include "tools/docgen/HelpText.h"

namespace {

constexpr std::string_view SynopsisLead = "Aufruf: ";

std::size_t indentOf(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? line.size() : first;
}

void appendText(std::string& text, std::string_view more) {
    if (more.empty()) return;
    if (!text.empty()) text += ' ';
    text += more;
}

}  // namespace

HelpText parseHelpText(std::string_view text) {
    HelpText help;
    HelpEntry* entry = nullptr;  // the entry further lines continue
    bool firstLine = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);

        if (firstLine) {
            firstLine = false;
            if (line.substr(0, SynopsisLead.size()) == SynopsisLead) {
                help.synopsis = line.substr(SynopsisLead.size());
                continue;
            }
        }
        if (line.empty()) {
            entry = nullptr;
            continue;
        }
        const std::size_t indent = indentOf(line);
        const std::string_view content = line.substr(indent);
        if (indent == 0) {
            // A heading; any other text at the margin starts nothing.
            entry = nullptr;
            if (content.back() == ':') {
                help.sections.push_back({std::string(content.substr(0, content.size() - 1)), {}});
            }
            continue;
        }
        if (help.sections.empty()) {
            help.description.emplace_back(content);
            continue;
        }
        std::vector<HelpEntry>& entries = help.sections.back().entries;
        if (indent > 2 && entry != nullptr) {
            appendText(entry->text, content);
            continue;
        }
        // A new entry: the term runs up to two blanks in a row.
        const std::size_t gap = content.find("  ");
        HelpEntry added;
        added.term = content.substr(0, gap);
        if (gap != std::string_view::npos) {
            appendText(added.text, content.substr(content.find_first_not_of(' ', gap)));
        }
        entries.push_back(std::move(added));
        entry = &entries.back();
    }
    return help;
}

const HelpSection* findSection(const HelpText& help, std::string_view heading) {
    for (const HelpSection& section : help.sections) {
        if (section.heading == heading) return &section;
    }
    return nullptr;
}
