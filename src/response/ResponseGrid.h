#pragma once
// The fixed frequency grid of the channel responses: 2000 points at 100 per
// decade from 2 Hz (point 100 is 20 Hz, 300 is 2 kHz, 400 is 20 kHz; the last
// lies near 2e20 Hz). Each point is computed in double precision and held in
// single precision; the responses are evaluated at exactly these values.

#include <array>

constexpr int ResponsePointCount = 2000;
constexpr double ResponseGridStartHz = 2.0;
constexpr double ResponsePointsPerDecade = 100.0;

// f_j = 2 * 10^(j / 100) Hz, rounded to single precision.
float responseGridFrequency(int j);

class ResponseGrid {
public:
    using Points = std::array<float, ResponsePointCount>;

    // Every grid is the same 2000 values; copying one is cheap.
    ResponseGrid();

    static constexpr int size() { return ResponsePointCount; }
    float operator[](int j) const { return m_hz[j]; }
    const Points& frequencies() const { return m_hz; }

private:
    Points m_hz;
};
