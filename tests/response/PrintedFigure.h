#pragma once
// Reference figures are given rounded ("-3.01 dB"); a value matches when it
// rounds to the same digits.

#include <gtest/gtest.h>

#include <cmath>

inline bool printsAs(double x, double printed, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(x * scale) == std::nearbyint(printed * scale);
}

#define EXPECT_PRINTS_AS(x, printed, decimals) EXPECT_PRED3(printsAs, x, printed, decimals)
