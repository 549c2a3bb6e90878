// The import report as plain lines: what filtaro-cli prints, and the words
// the window's import dialog shows in its table and beneath it.

#include "interchange/ChannelImport.h"
#include "interchange/DecimalText.h"

namespace {

std::string lineNumbers(const std::vector<int>& lines) {
    std::string s = lines.size() == 1 ? "Zeile " : "Zeilen ";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        s += (i ? ", " : "") + std::to_string(lines[i]);
    }
    return s;
}

std::string outcome(const ImportItem& item) {
    switch (item.status) {
        case ImportItemStatus::Exact:
            return item.asSet;
        case ImportItemStatus::Adjusted:
            return item.asSet + " (" + importStatusText(item.status) + ")";
        case ImportItemStatus::Dropped:
        case ImportItemStatus::Off:
            return importStatusText(item.status);
    }
    return {};
}

}  // namespace

std::string importStatusText(ImportItemStatus status) {
    switch (status) {
        case ImportItemStatus::Exact:
            return "wie gelesen";
        case ImportItemStatus::Adjusted:
            return "angepasst";
        case ImportItemStatus::Dropped:
            return "nicht übernommen";
        case ImportItemStatus::Off:
            return "ausgeschaltet";
    }
    return {};
}

std::string issueStatusText(const TextIssue& issue) {
    return issue.kind == TextIssueKind::Unreadable ? "nicht lesbar" : "nicht übernommen";
}

std::vector<std::string> importSummaryLines(const ImportReport& report) {
    std::vector<std::string> out;
    if (!report.freeBands.empty()) {
        std::string bands;
        for (const int e : report.freeBands) {
            bands += (bands.empty() ? "" : ", ") + std::string("EQ") + std::to_string(e + 1);
        }
        out.push_back("Nicht belegt, auf 0 dB gesetzt: " + bands);
    }
    if (!report.changesSomething()) {
        out.push_back("Der Text enthält nichts, was der Kanal übernehmen kann.");
    } else {
        out.push_back("Größte Abweichung zwischen Vorlage und Einstellung (20 Hz bis 20 kHz): " +
                      formatDecimal(report.maxDifferenceDb, 2) + " dB bei " +
                      formatDecimal(report.maxDifferenceHz, 0) + " Hz");
    }
    return out;
}

std::vector<std::string> importReportLines(const ImportReport& report) {
    std::vector<std::string> out;
    for (const ImportItem& item : report.items) {
        out.push_back(lineNumbers(item.lines) + ": " + item.asRead);
        out.push_back("    → " + outcome(item));
        for (const std::string& note : item.notes) out.push_back("      " + note);
    }
    // The free bands first, the difference last, the unread lines between.
    const std::vector<std::string> summary = importSummaryLines(report);
    if (summary.size() > 1) out.push_back(summary.front());
    for (const TextIssue& issue : report.issues) {
        out.push_back("Zeile " + std::to_string(issue.line) + " " + issueStatusText(issue) + " (" +
                      issue.reason + "): " + issue.text);
    }
    out.push_back(summary.back());
    return out;
}
