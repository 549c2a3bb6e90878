#include "interchange/FilterText.h"

#include <algorithm>
#include <unordered_set>

#include "interchange/DecimalText.h"
#include "interchange/FilterLine.h"
#include "interchange/TextTokens.h"

namespace {

// A line quoted in a report: at most this many bytes (cut before a UTF-8
// sequence), so that a line of megabytes does not become a report of as many.
constexpr std::size_t QuotedLineLimit = 120;

std::string quotedLine(std::string_view text) {
    if (text.size() <= QuotedLineLimit) return std::string(text);
    std::size_t cut = QuotedLineLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "…";
}

// A block name as the blocks compare: ASCII letter case aside.
std::string blockKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

// Equalizer APO commands that are correct but that nothing on the device
// corresponds to; their lines are reported as not taken over.
constexpr const char* IgnoredCommands[] = {
    "Device", "Include", "Copy",      "GraphicEQ",          "Convolution",
    "Stage",  "Eval",    "VSTPlugin", "LoudnessCorrection", "MultiConvolution",
};

constexpr std::string_view RewHeaderLine = "Filter Settings file";

class Reader {
public:
    FilterTextDocument document;

    // The end of the text: what open blocks still hold is reported, and the
    // issues come in the order of the text.
    void finish() {
        while (!m_skipping.empty()) closeConditional();
        std::stable_sort(document.issues.begin(), document.issues.end(),
                         [](const TextIssue& a, const TextIssue& b) { return a.line < b.line; });
    }

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
        if (conditional(number, text, command, parameters)) return;
        if (!m_skipping.empty() && !readingConditional()) {
            return skipConditional(number, text, command, parameters);
        }
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
    // One "If:" block: whether every condition in it asks for the sample rate
    // (then its "Else:" branch is read), and whether the branch now running
    // is the "Else:" one.
    struct Conditional {
        bool sampleRateOnly = true;
        bool inElse = false;
        std::string condition;             // the first condition, for the reason
        std::optional<double> branchRate;  // a branch for exactly one rate
        // The IIR filters of such branches. They belong to the filters of
        // the "Else:" branch (TextEntry::rateBiquads); if it has none, they
        // are reported at "EndIf:" like any line not taken.
        std::vector<RateBiquad> biquads;
        std::vector<TextIssue> biquadLines;
        bool biquadsTaken = false;
    };

    // "sampleRate == 48000", "sampleRate >= 88200 and sampleRate < 96000".
    static bool asksForSampleRateOnly(std::string_view expression) {
        bool rate = false;
        std::size_t i = 0;
        while (i < expression.size()) {
            const char c = expression[i];
            if (c == ' ' || c == '\t' || c == '=' || c == '!' || c == '<' || c == '>' || c == '(' ||
                c == ')' || c == '.' || (c >= '0' && c <= '9')) {
                ++i;
                continue;
            }
            std::size_t end = i;
            while (end < expression.size() &&
                   ((expression[end] >= 'a' && expression[end] <= 'z') ||
                    (expression[end] >= 'A' && expression[end] <= 'Z'))) {
                ++end;
            }
            const std::string_view word = expression.substr(i, end - i);
            if (word == "sampleRate") {
                rate = true;
            } else if (word != "and" && word != "or") {
                return false;
            }
            if (end == i) return false;
            i = end;
        }
        return rate;
    }

    // Handles "If:", "ElseIf:", "Else:" and "EndIf:"; false for any other command.
    bool conditional(int number, std::string_view text, std::string_view command,
                     std::string_view parameters) {
        if (sameWord(command, "If")) {
            m_skipping.push_back({asksForSampleRateOnly(parameters),
                                  false,
                                  std::string(text),
                                  singleSampleRate(parameters),
                                  {},
                                  {},
                                  false});
            return true;
        }
        const bool elseIf = sameWord(command, "ElseIf");
        const bool otherwise = sameWord(command, "Else");
        const bool end = sameWord(command, "EndIf");
        if (!elseIf && !otherwise && !end) return false;
        if (m_skipping.empty()) {
            addIssue(number, text, TextIssueKind::Unreadable,
                     quoted(command) + " ohne vorangehendes \"If:\"");
            return true;
        }
        Conditional& block = m_skipping.back();
        if (end) {
            closeConditional();
        } else if (elseIf) {
            block.sampleRateOnly = block.sampleRateOnly && asksForSampleRateOnly(parameters);
            block.inElse = false;
            block.branchRate = singleSampleRate(parameters);
        } else {
            block.inElse = true;
            block.branchRate.reset();
        }
        return true;
    }

    // True while every open block reads its "Else:" branch at any sample rate.
    bool readingConditional() const {
        return std::all_of(m_skipping.begin(), m_skipping.end(),
                           [](const Conditional& c) { return c.sampleRateOnly && c.inElse; });
    }

    static std::string skippedReason(const Conditional& block) {
        return block.sampleRateOnly
                   ? "gilt nur bei bestimmten Abtastraten; übernommen wird der Zweig \"Else:\""
                   : "gilt nur unter der Bedingung " + quoted(block.condition);
    }

    void skipConditional(int number, std::string_view text, std::string_view command,
                         std::string_view parameters) {
        Conditional& block = m_skipping.back();
        if (block.branchRate && block.sampleRateOnly && isFilterCommand(command)) {
            if (const auto biquad = parseIirParameters(parameters)) {
                block.biquads.push_back({*block.branchRate, *biquad});
                block.biquadLines.push_back(
                    {number, quotedLine(text), TextIssueKind::Unsupported, skippedReason(block)});
                return;
            }
        }
        addIssue(number, text, TextIssueKind::Unsupported, skippedReason(block));
    }

    void closeConditional() {
        Conditional& block = m_skipping.back();
        if (!block.biquadsTaken) {
            for (TextIssue& issue : block.biquadLines) {
                addIssue(issue.line, issue.text, issue.kind, std::move(issue.reason));
            }
        }
        m_skipping.pop_back();
    }

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
        const bool unreadable = kind == TextIssueKind::Unreadable;
        std::size_t& listed = unreadable ? m_listedUnreadable : m_listedUnsupported;
        if (listed == TextIssueListLimit) {
            ++(unreadable ? document.moreUnreadable : document.moreUnsupported);
            return;
        }
        ++listed;
        document.issues.push_back({number, quotedLine(text), kind, std::move(reason)});
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
            if (!m_skipping.empty() && !m_skipping.back().biquads.empty()) {
                Conditional& block = m_skipping.back();
                e.rateBiquads = block.biquads;
                for (const TextIssue& issue : block.biquadLines) {
                    e.rateBiquadLines.push_back(issue.line);
                }
                block.biquadsTaken = true;
            }
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
            if (m_blockKeys.insert(blockKey(name)).second) document.blocks.push_back(name);
        }
    }

    bool m_sawContent = false;
    bool m_inRewHeader = false;
    std::vector<std::string> m_channels;
    std::unordered_set<std::string> m_blockKeys;  // the blocks, in blockKey() form
    std::vector<Conditional> m_skipping;
    std::size_t m_listedUnreadable = 0;
    std::size_t m_listedUnsupported = 0;
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
    reader.finish();
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
