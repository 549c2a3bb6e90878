#include "interchange/FilterText.h"

#include <algorithm>

#include "interchange/DecimalText.h"
#include "interchange/FilterLine.h"
#include "interchange/TextTokens.h"

namespace {

// Equalizer APO commands that are correct but that nothing on the device
// corresponds to; their lines are reported as not taken over.
constexpr const char* IgnoredCommands[] = {
    "Device", "Include", "Copy",  "GraphicEQ", "Convolution", "MultiConvolution",   "Stage", "If",
    "ElseIf", "Else",    "EndIf", "Eval",      "VSTPlugin",   "LoudnessCorrection",
};

constexpr std::string_view RewHeaderLine = "Filter Settings file";

class Reader {
public:
    FilterTextDocument document;

    void line(int number, std::string_view raw) {
        const std::string_view text = trimmed(raw);
        if (text.empty() || text.front() == '#') return;
        if (!m_sawContent) {
            m_sawContent = true;
            if (sameWord(text, RewHeaderLine)) {
                // REW's header (program version, date, notes, equaliser,
                // measurement name) runs up to its first filter line.
                document.rewHeader = true;
                m_inRewHeader = true;
                return;
            }
        }
        const std::size_t colon = text.find(':');
        const std::string_view command = trimmed(text.substr(0, colon));
        if (m_inRewHeader) {
            if (colon == std::string_view::npos || !isFilterCommand(command)) return;
            m_inRewHeader = false;
        }
        if (colon == std::string_view::npos) {
            return addIssue(number, text, TextIssueKind::Unreadable,
                            "keine Zeile der Form \"Befehl: Werte\"");
        }
        const std::string_view parameters = trimmed(text.substr(colon + 1));
        if (isFilterCommand(command)) {
            filter(number, text, parameters);
        } else if (sameWord(command, "Preamp")) {
            preamp(number, text, parameters);
        } else if (sameWord(command, "Delay")) {
            delay(number, text, parameters);
        } else if (sameWord(command, "Channel")) {
            channel(number, text, parameters);
        } else if (isIgnoredCommand(command)) {
            addIssue(number, text, TextIssueKind::Unsupported,
                     quoted(command) + " wird nicht übernommen");
        } else {
            addIssue(number, text, TextIssueKind::Unreadable,
                     "unbekannter Befehl " + quoted(command));
        }
    }

private:
    // "Filter", "Filter 3", "Filter3".
    static bool isFilterCommand(std::string_view command) {
        if (command.size() < 6 || !sameWord(command.substr(0, 6), "Filter")) return false;
        const std::string_view rest = trimmed(command.substr(6));
        return std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
    }

    static bool isIgnoredCommand(std::string_view command) {
        return std::any_of(std::begin(IgnoredCommands), std::end(IgnoredCommands),
                           [&](const char* c) { return sameWord(command, c); });
    }

    void addIssue(int number, std::string_view text, TextIssueKind kind, std::string reason) {
        document.issues.push_back({number, std::string(text), kind, std::move(reason)});
    }

    TextEntry entry(int number, std::string_view text, TextEntryKind kind) const {
        TextEntry e;
        e.line = number;
        e.text = std::string(text);
        e.kind = kind;
        e.channels = m_channels;
        return e;
    }

    void filter(int number, std::string_view text, std::string_view parameters) {
        const FilterLineResult r = parseFilterParameters(parameters);
        if (r.outcome == FilterLineResult::Outcome::Issue) {
            return addIssue(number, text, r.issueKind, r.reason);
        }
        if (r.outcome == FilterLineResult::Outcome::Filter) {
            TextEntry e = entry(number, text, TextEntryKind::Filter);
            e.filter = r.filter;
            document.entries.push_back(std::move(e));
        }
    }

    // "<number> <unit>" with the unit optional when `unitOptional`.
    static std::optional<double> valueWithUnit(std::string_view parameters, std::string_view unit,
                                               bool unitOptional) {
        const std::vector<TextToken> tokens = tokenize(parameters);
        if (tokens.empty() || tokens.size() > 2 || tokens[0].kind != TextToken::Kind::Number) {
            return std::nullopt;
        }
        if (tokens.size() == 1 ? !unitOptional : !sameWord(tokens[1].text, unit)) {
            return std::nullopt;
        }
        return parseDecimal(tokens[0].text);
    }

    void preamp(int number, std::string_view text, std::string_view parameters) {
        const auto db = valueWithUnit(parameters, "dB", true);
        if (!db) return addIssue(number, text, TextIssueKind::Unreadable, "Preamp ohne Wert in dB");
        TextEntry e = entry(number, text, TextEntryKind::Preamp);
        e.value = *db;
        document.entries.push_back(std::move(e));
    }

    void delay(int number, std::string_view text, std::string_view parameters) {
        if (valueWithUnit(parameters, "samples", false)) {
            return addIssue(number, text, TextIssueKind::Unsupported,
                            "Verzögerung in Samples: die Abtastrate ist nicht bekannt");
        }
        const auto ms = valueWithUnit(parameters, "ms", false);
        if (!ms)
            return addIssue(number, text, TextIssueKind::Unreadable, "Verzögerung ohne \"ms\"");
        TextEntry e = entry(number, text, TextEntryKind::Delay);
        e.value = *ms;
        document.entries.push_back(std::move(e));
    }

    void channel(int number, std::string_view text, std::string_view parameters) {
        std::vector<std::string> names;
        bool all = false;
        std::size_t pos = 0;
        while (pos < parameters.size()) {
            const std::size_t start = parameters.find_first_not_of(" \t", pos);
            if (start == std::string_view::npos) break;
            const std::size_t end =
                std::min(parameters.find_first_of(" \t", start), parameters.size());
            const std::string_view name = parameters.substr(start, end - start);
            if (sameWord(name, "all")) {
                all = true;
            } else {
                names.emplace_back(name);
            }
            pos = end;
        }
        if (names.empty() && !all) {
            return addIssue(number, text, TextIssueKind::Unreadable, "Kanal ohne Namen");
        }
        m_channels = all ? std::vector<std::string>{} : names;
        for (const std::string& name : m_channels) {
            if (!hasBlock(document, name)) document.blocks.push_back(name);
        }
    }

    bool m_sawContent = false;
    bool m_inRewHeader = false;
    std::vector<std::string> m_channels;
};

}  // namespace

FilterTextDocument parseFilterText(std::string_view text) {
    Reader reader;
    // A byte-order mark from Windows editors is no part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    int number = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        reader.line(++number, text.substr(pos, end - pos));
        pos = end + 1;
    }
    return std::move(reader.document);
}

bool hasBlock(const FilterTextDocument& document, std::string_view name) {
    return std::any_of(document.blocks.begin(), document.blocks.end(),
                       [&](const std::string& b) { return sameWord(b, name); });
}

std::vector<TextEntry> entriesForBlock(const FilterTextDocument& document, std::string_view name) {
    std::vector<TextEntry> out;
    for (const TextEntry& e : document.entries) {
        const bool applies = name.empty() || e.channels.empty() ||
                             std::any_of(e.channels.begin(), e.channels.end(),
                                         [&](const std::string& c) { return sameWord(c, name); });
        if (applies) out.push_back(e);
    }
    return out;
}
