#pragma once
// The plot's view in "FILTARO.INI", in a section of its own:
//
//   [PLOT]
//   View=phase
//
// The value is the view's name as filtaro-cli takes it ("magnitude",
// "phase", "groupdelay"); the window maps it to its view and shows the
// magnitude for anything else. Read from the file each time, like every INI
// value.

#include <string>

constexpr char IniSectionPlot[] = "PLOT";
constexpr char IniKeyPlotView[] = "View";

// The stored name, or "" when the key is missing.
std::string plotViewName();
// Stores the name; false when the file could not be written.
bool setPlotViewName(const std::string& name);
