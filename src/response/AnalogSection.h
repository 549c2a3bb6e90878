#pragma once
// Single analog sections with explicit parameters: the building blocks that
// filter texts and other programs' configurations describe (a peaking band
// with any Q, a high-pass section at any frequency). They are evaluated with
// the formulas of the model (ResponseMath.h), so the sections made from a
// channel's fields multiply to the channel's response.

#include <vector>

#include "model/ChannelRecord.h"

enum class SectionType {
    Peaking,
    LowShelf,
    HighShelf,
    HighPass,  // second order
    LowPass,   // second order
    HighPassFirstOrder,
    LowPassFirstOrder,
};

struct AnalogSection {
    SectionType type = SectionType::Peaking;
    // Centre, shelf or corner frequency in Hz. For a first-order section it is
    // the corner itself (the model's fc / k for a high-pass, fc * k for a
    // low-pass).
    double frequency = 0.0;
    double q = 0.0;       // not used by first-order sections
    double gainDb = 0.0;  // peaking and shelves only
    friend bool operator==(const AnalogSection&, const AnalogSection&) = default;
};

// Linear magnitude of the section at f Hz.
double sectionMagnitude(const AnalogSection& section, double f);

// magnitudeToDb(sectionMagnitude(section, f_j)) at the points first ..
// first + count - 1 of the response grid (see GridCurves.h).
void sectionDbCurve(const AnalogSection& section, int first, int count, double* db);

// The sections a crossover filter of type code `type` (0..9) with corner `fc`
// is made of, in the order the model multiplies them; none for "off" and for
// codes outside 0..9.
std::vector<AnalogSection> highPassSections(double fc, int type);
std::vector<AnalogSection> lowPassSections(double fc, int type);

// Equaliser band `band` (0..5) of a record as the section its Q code stands
// for: peaking with Q = code / 2 up to code 20, above that a shelf (high on
// EQ6, low on every other band) with the shelving Q.
AnalogSection eqBandSection(const EqBand& eq, int band);
