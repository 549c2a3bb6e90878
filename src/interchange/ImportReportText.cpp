// The import report as plain lines: what filtaro-cli prints, and the words
// the window's import dialog shows in its table and beneath it.

#include "interchange/ChannelImport.h"
#include "interchange/DecimalText.h"

namespace {

// Below this the channel is the design, up to the arithmetic.
constexpr double NoDifferenceDb = 0.05;

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

std::vector<std::string> headLines(const ImportReport& report) {
    std::vector<std::string> out;
    if (!report.freeBands.empty()) {
        std::string bands;
        for (const int e : report.freeBands) {
            bands += (bands.empty() ? "" : ", ") + std::string("EQ") + std::to_string(e + 1);
        }
        out.push_back("Nicht belegt, auf 0 dB gesetzt: " + bands);
    }
    const std::string filters = std::to_string(report.eqFilterCount) + " EQ-Filtern";
    switch (report.bandChoice) {
        case BandChoiceMethod::All:
            break;
        case BandChoiceMethod::Exhaustive:
            out.push_back(
                "Auswahl der Bänder: die Filter, die zusammen der Vorlage am nächsten "
                "kommen (von " +
                filters + " alle " + groupedCount(report.bandSetsTried) +
                " möglichen Auswahlen geprüft)");
            break;
        case BandChoiceMethod::Stepwise:
            out.push_back(
                "Auswahl der Bänder: schrittweise die Filter, die der Vorlage am meisten "
                "helfen, dann durch Tauschen verbessert (von " +
                filters +
                (report.eqFilterCount > BandChoiceCandidateLimit
                     ? " unter den " + std::to_string(BandChoiceCandidateLimit) +
                           " mit den größten Verstärkungen"
                     : std::string()) +
                "; nicht alle möglichen Auswahlen geprüft)");
            break;
    }
    return out;
}

std::vector<std::string> moreLines(const ImportReport& report) {
    std::vector<std::string> out;
    const auto more = [&](long long n, const char* what) {
        if (n > 0) out.push_back("… und " + groupedCount(n) + " " + what);
    };
    more(report.moreDropped, "weitere nicht übernommene Filter");
    more(report.moreOff, "weitere ausgeschaltete Filter");
    more(report.moreUnreadable, "weitere unlesbare Zeilen");
    more(report.moreUnsupported, "weitere nicht übernommene Zeilen");
    return out;
}

std::string lastLine(const ImportReport& report) {
    if (!report.changesSomething()) {
        return "Der Text enthält nichts, was der Kanal übernehmen kann.";
    }
    const std::string head =
        "Größte Abweichung zwischen Vorlage und Einstellung (20 Hz bis 20 kHz): ";
    if (report.maxDifferenceDb < NoDifferenceDb) return head + "keine";
    return head + formatDecimal(report.maxDifferenceDb, 2) + " dB bei " +
           formatDecimal(report.maxDifferenceHz, 0) + " Hz, im Mittel (RMS) " +
           formatDecimal(report.rmsDifferenceDb, 2) + " dB";
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
    std::vector<std::string> out = headLines(report);
    for (std::string& line : moreLines(report)) out.push_back(std::move(line));
    out.push_back(lastLine(report));
    return out;
}

std::vector<std::string> importReportLines(const ImportReport& report) {
    std::vector<std::string> out;
    for (const ImportItem& item : report.items) {
        out.push_back(lineNumbers(item.lines) + ": " + item.asRead);
        out.push_back("    → " + outcome(item));
        for (const std::string& note : item.notes) out.push_back("      " + note);
    }
    for (std::string& line : headLines(report)) out.push_back(std::move(line));
    for (const TextIssue& issue : report.issues) {
        out.push_back("Zeile " + std::to_string(issue.line) + " " + issueStatusText(issue) + " (" +
                      issue.reason + "): " + issue.text);
    }
    for (std::string& line : moreLines(report)) out.push_back(std::move(line));
    out.push_back(lastLine(report));
    return out;
}
