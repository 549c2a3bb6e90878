#include "storage/PlotOptions.h"

#include "storage/Ini.h"

std::string plotViewName() {
    std::string name;
    readIniString(IniSectionPlot, IniKeyPlotView, name);
    return name;
}

bool setPlotViewName(const std::string& name) {
    return writeIniString(IniSectionPlot, IniKeyPlotView, name) != 0;
}
