#pragma once
// The channel names of a parameter file's side file, for commands that show
// or export channels. A broken side file is reported in one line on `err`
// and the names stay empty.

#include <array>
#include <ostream>
#include <string>

#include "model/ParameterImage.h"

std::array<std::string, ChannelCount> channelNamesOf(const std::string& parameterFilePath,
                                                     std::ostream& err);
