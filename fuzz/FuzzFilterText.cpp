// Filter texts of other programs (REW, Equalizer APO) imported into a channel.
// Input: one byte that picks the channel, then the text.
//
// Whatever the text, the import ends with a report, never a guess: a text
// with several channel blocks asks for one, and each block it names can be
// chosen; every line it could not take, and every line a filter came from,
// is a line of the text; the report lists at most a few lines of each kind
// and counts the rest; the differences are numbers, the RMS no larger than
// the largest; and the channel it sets is one the device holds exactly as
// set, so the check before a send finds nothing in it.

#include <algorithm>
#include <cmath>

#include "FuzzSupport.h"
#include "device/PreSendCheck.h"
#include "interchange/FilterImport.h"
#include "model/ParameterImage.h"

namespace {

// Of the blocks a text names, the first and the last are chosen in turn:
// enough to cover the choice, few enough that a text of many blocks stays
// quick.

void checkReport(const ImportReport& report, std::string_view text, int channel) {
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    std::size_t unreadable = 0;
    for (const TextIssue& issue : report.issues) {
        fuzzCheck(issue.line >= 1 && issue.line <= lines, "an issue names a line of the text");
        fuzzCheck(!issue.reason.empty(), "an issue says why");
        unreadable += issue.kind == TextIssueKind::Unreadable;
    }
    fuzzCheck(
        unreadable <= TextIssueListLimit && report.issues.size() - unreadable <= TextIssueListLimit,
        "a few issues of each kind are listed, the rest counted");
    for (const ImportItem& item : report.items) {
        fuzzCheck(!item.lines.empty(), "an item names its lines");
        for (const int line : item.lines) {
            fuzzCheck(line >= 1 && line <= lines, "an item names lines of the text");
        }
    }
    fuzzCheck(std::isfinite(report.maxDifferenceDb) && report.maxDifferenceDb >= 0.0,
              "the largest difference is a number");
    fuzzCheck(std::isfinite(report.rmsDifferenceDb) && report.rmsDifferenceDb >= 0.0 &&
                  report.rmsDifferenceDb <= report.maxDifferenceDb * (1 + 1e-12) + 1e-9,
              "the RMS difference is a number no larger than the largest");
    ParameterImage image;
    applyDefaults(image);
    image.setRecord(0, channel, report.record);
    fuzzCheck(checkBeforeSend(image).empty(), "the device holds the channel as set");
    (void)importReportLines(report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const int channel = in.take<std::uint8_t>() % ChannelCount;
    const std::string_view text = in.rest();
    ParameterImage image;
    applyDefaults(image);
    const ChannelRecord current = image.record(0, channel);

    const FilterImport result = importFilterText(text, current, channel);
    switch (result.status) {
        case FilterImportStatus::Ready:
            checkReport(result.report, text, channel);
            break;
        case FilterImportStatus::ChooseBlock:
            fuzzCheck(result.blocks.size() > 1, "a choice is asked only between blocks");
            for (const std::string& block : {result.blocks.front(), result.blocks.back()}) {
                const FilterImport chosen = importFilterText(text, current, channel, block);
                fuzzCheck(chosen.status == FilterImportStatus::Ready,
                          "a named block can be chosen");
                checkReport(chosen.report, text, channel);
            }
            break;
        case FilterImportStatus::UnknownBlock:
            fuzzCheck(false, "no block was chosen, so none can be unknown");
            break;
    }
    return 0;
}
