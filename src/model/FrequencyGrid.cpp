#include "model/FrequencyGrid.h"

int frequencyToCode(int hz) {
    if (hz < 0 || hz >= 20000) return 0;
    if (hz < 50) return hz - 15;
    if (hz < 200) return hz / 5 + 25;
    if (hz < 500) return hz / 10 + 45;
    if (hz < 2000) return hz / 50 + 85;
    if (hz < 5000) return hz / 100 + 105;
    return hz / 500 + 145;
}

int codeToFrequency(int code) {
    if (code < 0 || code >= FrequencyGridSize) return 0;
    if (code <= 35) return code + 15;
    if (code <= 65) return (code - 25) * 5;
    if (code <= 95) return (code - 45) * 10;
    if (code <= 125) return (code - 85) * 50;
    if (code <= 155) return (code - 105) * 100;
    return (code - 145) * 500;
}

const std::array<int, FrequencyGridSize>& frequencyGrid() {
    static const std::array<int, FrequencyGridSize> grid = [] {
        std::array<int, FrequencyGridSize> g{};
        for (int c = 0; c < FrequencyGridSize; ++c) g[c] = codeToFrequency(c);
        return g;
    }();
    return grid;
}
