#pragma once
// An imported filter text fitted onto the device's grid as a whole: instead
// of rounding each filter of the text to the nearest band (what the import
// does), the fit chooses the six bands (and the level, where the text sets
// one) whose curve comes closest to the text's filters as the other program
// plays them, over 20 Hz to 20 kHz, every point of the plot's grid counting
// alike. The crossover, the delay and what the text does not set stay as
// the import set them. Never further from the design (in RMS) than the
// import's own rounding.

#include <string>

#include "interchange/ChannelImport.h"
#include "tuning/EqFit.h"

struct ImportRefit {
    bool ok = false;
    std::string message;   // German, when not ok
    ChannelRecord record;  // the import's record with the fitted bands
    DesignDifference difference;
};

ImportRefit refitImport(const ImportReport& report, const FitProgress& progress = {});
