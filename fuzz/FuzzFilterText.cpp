// Filter texts of other programs (REW, Equalizer APO) imported into a channel.
// Input: one byte that picks the channel, then the text.
//
// Whatever the text, the import ends with a report, never a guess: a text
// with several channel blocks asks for one, and each block it names can be
// chosen; every line it could not take is named by a line of the text; and
// the channel it sets is one the device holds exactly as set, so the check
// before a send finds nothing in it.

#include <algorithm>
#include <cmath>

#include "FuzzSupport.h"
#include "device/PreSendCheck.h"
#include "interchange/FilterImport.h"
#include "model/ParameterImage.h"

namespace {

void checkReport(const ImportReport& report, std::string_view text, int channel) {
    const int lines = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    for (const TextIssue& issue : report.issues) {
        fuzzCheck(issue.line >= 1 && issue.line <= lines, "an issue names a line of the text");
        fuzzCheck(!issue.reason.empty(), "an issue says why");
    }
    fuzzCheck(std::isfinite(report.maxDifferenceDb) && report.maxDifferenceDb >= 0.0,
              "the largest difference is a number");
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
            for (const std::string& block : result.blocks) {
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
