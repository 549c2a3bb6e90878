#include "ui/FrequencyStep.h"

#include <algorithm>

#include "model/FrequencyGrid.h"

// The device codes frequencies below this limit only; stepping stops there.
static constexpr int StepLimitHz = 20000;

// Width of the grid interval [g(i), g(i+1)) that contains `hz`; below the
// grid the first interval's width, above it the last one's.
static int gridIntervalAt(int hz) {
    const auto& grid = frequencyGrid();
    auto above = std::upper_bound(grid.begin(), grid.end(), hz);
    if (above == grid.begin()) ++above;
    if (above == grid.end()) --above;
    return *above - *(above - 1);
}

int frequencyStepUp(int hz) {
    if (hz <= 0 || hz >= StepLimitHz) return 0;
    return gridIntervalAt(hz);
}

int frequencyStepDown(int hz) {
    if (hz <= 0 || hz > StepLimitHz) return 0;
    return gridIntervalAt(hz - 1);
}

int frequencyStepDelta(int hz, int proposedDelta) {
    return proposedDelta > 0 ? frequencyStepUp(hz) : -frequencyStepDown(hz);
}

int delayStepDelta(int proposedDelta) {
    return proposedDelta > 0 ? 1 : -1;
}
