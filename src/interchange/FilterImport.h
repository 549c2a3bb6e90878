#pragma once
// Import of a filter text into one channel, in one call: read the text, pick
// the channel block, map it onto the channel and report. This is what the
// import dialog and `filtaro-cli import` run.
//
//   FilterImport result = importFilterText(text, image.record(p, c), c, chosenBlock);
//   if (result.status == FilterImportStatus::ChooseBlock) { ask among result.blocks }
//   else if (result.status == FilterImportStatus::Ready) { show result.report, then
//       image.setRecord(p, c, result.report.record) as one step }

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/ChannelImport.h"

// The largest filter text read; real ones are a few kilobytes.
constexpr std::size_t FilterTextFileLimit = std::size_t{16} << 20;

enum class FilterImportStatus {
    Ready,         // report holds the mapping
    ChooseBlock,   // the text has several channel blocks and none was chosen
    UnknownBlock,  // the chosen block is not in the text
};

struct FilterImport {
    FilterImportStatus status = FilterImportStatus::Ready;
    std::vector<std::string> blocks;  // the text's channel blocks, in order
    ImportReport report;              // with status Ready
};

// `block` may be empty when the text has at most one channel block.
FilterImport importFilterText(std::string_view text, const ChannelRecord& current, int channel,
                              std::string_view block = {});
