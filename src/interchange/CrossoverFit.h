#pragma once
// The crossover type and corner frequency of the device that come nearest to
// a high-pass or low-pass given as sections (a filter text describes a
// fourth-order Butterworth as two second-order sections with their own
// frequencies and Qs). Nearest means the smallest largest difference in dB
// over 20 Hz to 20 kHz; a text written from one of the device's own types
// therefore gives that type back.

#include <vector>

#include "interchange/FilterDefinitions.h"

struct CrossoverChoice {
    int type = 0;       // filter type code 0..9
    int frequency = 0;  // Hz, on the field's grid
    double maxDifferenceDb = 0.0;
};

// `sections` are the high-passes (or low-passes) as the text's program
// defines them; `currentFrequency` is kept when "off" fits best.
CrossoverChoice fitHighPass(const std::vector<CookbookFilter>& sections, int currentFrequency);
CrossoverChoice fitLowPass(const std::vector<CookbookFilter>& sections, int currentFrequency);
