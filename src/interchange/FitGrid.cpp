#include "interchange/FitGrid.h"

const std::array<double, FitPointCount>& fitFrequencies() {
    static const std::array<double, FitPointCount> frequencies = [] {
        std::array<double, FitPointCount> f{};
        for (int j = 0; j < FitPointCount; ++j) f[j] = 20.0 * std::pow(10.0, j / 100.0);
        return f;
    }();
    return frequencies;
}
