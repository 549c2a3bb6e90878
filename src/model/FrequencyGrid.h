#pragma once
// The 185 frequencies the device knows, from 15 Hz to 19500 Hz, as grid codes
// 0..184. The wire carries frequencies as these codes, and the panels' spin
// buttons step along the same grid.

#include <array>

constexpr int FrequencyGridSize = 185;

// Grid code of a frequency in Hz. A frequency between two grid points gets
// the code of the point below it (57 Hz gives 36, which stands for 55 Hz);
// 0..14 Hz give the negative codes -15..-1; below 0 Hz or from 20000 Hz on
// the code is 0.
int frequencyToCode(int hz);

// Frequency in Hz of a grid code; 0 for any code outside 0..184.
int codeToFrequency(int code);

// All grid frequencies in ascending order; index = code.
const std::array<int, FrequencyGridSize>& frequencyGrid();
