#include "response/ResponseGrid.h"

#include <cmath>

float responseGridFrequency(int j) {
    return static_cast<float>(ResponseGridStartHz * std::pow(10.0, j / ResponsePointsPerDecade));
}

namespace {
// Every grid holds the same values, so they are computed once and copied.
const ResponseGrid::Points& gridPoints() {
    static const ResponseGrid::Points points = [] {
        ResponseGrid::Points p{};
        for (int j = 0; j < ResponsePointCount; ++j) p[j] = responseGridFrequency(j);
        return p;
    }();
    return points;
}
}  // namespace

ResponseGrid::ResponseGrid() : m_hz(gridPoints()) {}
