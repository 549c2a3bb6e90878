#pragma once
// The phase of a measurement read between its points. A measured phase
// carries the sound's flight time to the microphone as a turn that grows
// with frequency; read between two points as it stands it would be off by
// whole turns wherever the points lie far apart for that delay. So the
// phase is unwrapped by following its slope (each point takes the turn that
// continues the path of the points before it), the constant delay that
// explains it best is taken out, what remains (the driver's own phase,
// a few turns at most) is read linear in log frequency, and the delay is
// put back exactly. Files may give the phase wrapped to +-180 degrees or
// unwrapped; both read the same.

#include <complex>
#include <vector>

#include "interchange/Measurement.h"

// True when every point of `m` has a phase.
bool hasPhase(const Measurement& m);

// `degrees` at the rising frequencies `hz` as one continuous path: each point
// is moved by whole turns to lie nearest to where the slope of the points
// before it leads (the first two points take the shortest step). Equal sizes.
std::vector<double> unwrappedPhaseDegrees(const std::vector<double>& hz,
                                          const std::vector<double>& degrees);

// A measurement with phase, ready to be read at any frequency of its span.
class MeasuredPhase {
public:
    // `m` must have phase (hasPhase); the delay is fitted over loHz..hiHz
    // (the whole span when that range holds fewer than two points).
    explicit MeasuredPhase(const Measurement& m, double loHz = 0.0, double hiHz = 1e300);

    // The constant delay in seconds that explains the phase best over the
    // fitted range (least squares of the unwrapped phase over frequency).
    double bulkDelaySeconds() const { return m_delay; }
    // Degrees left at each point once the bulk delay is taken out.
    const std::vector<double>& residualDegrees() const { return m_residual; }
    const std::vector<double>& hz() const { return m_hz; }

    double loHz() const { return m_hz.front(); }
    double hiHz() const { return m_hz.back(); }
    bool covers(double hz) const { return hz >= loHz() && hz <= hiHz(); }
    // The pressure at `hz` relative to 0 dB, phase included.
    std::complex<double> valueAt(double hz) const;
    // The unwrapped phase at `hz` in degrees, bulk delay included.
    double phaseDegreesAt(double hz) const;

private:
    std::vector<double> m_hz;
    std::vector<double> m_db;
    std::vector<double> m_residual;
    double m_delay = 0.0;
};
