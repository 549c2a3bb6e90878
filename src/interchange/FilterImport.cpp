#include "interchange/FilterImport.h"

FilterImport importFilterText(std::string_view text, const ChannelRecord& current, int channel,
                              std::string_view block) {
    const FilterTextDocument document = parseFilterText(text);
    FilterImport result;
    result.blocks = document.blocks;
    std::string_view chosen = block;
    if (chosen.empty()) {
        if (document.blocks.size() > 1) {
            result.status = FilterImportStatus::ChooseBlock;
            return result;
        }
        if (document.blocks.size() == 1) chosen = document.blocks.front();
    } else if (!hasBlock(document, chosen)) {
        result.status = FilterImportStatus::UnknownBlock;
        return result;
    }
    result.report = mapOntoChannel(entriesForBlock(document, chosen), current, channel);
    result.report.issues = document.issues;
    result.report.moreUnreadable = document.moreUnreadable;
    result.report.moreUnsupported = document.moreUnsupported;
    return result;
}
