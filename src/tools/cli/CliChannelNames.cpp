#include "tools/cli/CliChannelNames.h"

#include "storage/SideFile.h"
#include "tools/cli/Cli.h"

std::array<std::string, ChannelCount> channelNamesOf(const std::string& parameterFilePath,
                                                     std::ostream& err) {
    const SideFileLoad load = loadSideFile(parameterFilePath);
    if (load.state == SideFileState::Broken) cliFail(err, load.message);
    return load.data.channelNames;
}
