#pragma once
// How the frequency spin buttons of the channel panel step: along the
// device's frequency grid, one grid interval per click. The step depends only
// on the value shown, never on how long an arrow is held.

// Step width of one click up from `hz`: the width of the grid interval that
// starts at or below `hz` (1 Hz below 50 Hz, then 5, 10, 50, 100, 500 Hz).
// 0 for `hz` <= 0 and from 20000 Hz on, where the device's code table ends.
int frequencyStepUp(int hz);

// Step width of one click down from `hz`: from a band boundary the step of
// the band below (50 -> 49, 200 -> 195, 5000 -> 4900). 0 for `hz` <= 0 and
// above 20000 Hz.
int frequencyStepDown(int hz);

// The change that replaces a frequency spin's proposed change: the sign of
// `proposedDelta` picks the direction (zero or negative is down).
int frequencyStepDelta(int hz, int proposedDelta);

// The change that replaces the delay spin's proposed change: exactly one tap
// in the proposed direction (zero or negative is down).
int delayStepDelta(int proposedDelta);
