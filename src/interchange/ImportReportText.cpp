// The import report as plain lines: what filtaro-cli prints, and what a list
// can show line by line.

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
            return item.asSet + " (angepasst)";
        case ImportItemStatus::Dropped:
            return "nicht übernommen";
        case ImportItemStatus::Off:
            return "ausgeschaltet";
    }
    return {};
}

}  // namespace

std::vector<std::string> importReportLines(const ImportReport& report) {
    std::vector<std::string> out;
    for (const ImportItem& item : report.items) {
        out.push_back(lineNumbers(item.lines) + ": " + item.asRead);
        out.push_back("    → " + outcome(item));
        for (const std::string& note : item.notes) out.push_back("      " + note);
    }
    if (!report.freeBands.empty()) {
        std::string bands;
        for (const int e : report.freeBands) {
            bands += (bands.empty() ? "" : ", ") + std::string("EQ") + std::to_string(e + 1);
        }
        out.push_back("Nicht belegt, auf 0 dB gesetzt: " + bands);
    }
    for (const TextIssue& issue : report.issues) {
        out.push_back(
            "Zeile " + std::to_string(issue.line) +
            (issue.kind == TextIssueKind::Unreadable ? " nicht lesbar (" : " nicht übernommen (") +
            issue.reason + "): " + issue.text);
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
