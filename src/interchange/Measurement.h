#pragma once
// Measurements to draw next to the channel responses: Room EQ Wizard's text
// export (frequency, SPL and phase, header lines starting with '*'),
// FRD/TXT files (frequency, dB, optionally phase) and Klippel's exports
// (quoted titles, frequencies from 1 kHz on quoted with a thousands
// separator: "1,034.91"). Columns may be separated by commas, semicolons,
// tabs or blanks; with semicolons, tabs or blanks a decimal comma is read
// too. The separator is taken from the first line of values and holds for
// the whole file. Of more than three columns (left and right, several
// curves) the first two are read, and the third as the phase when its title
// names one or, without titles, its values can only be one.
//
// A file whose values cannot be read completely is refused with the number
// of the first line that could not be read; nothing is guessed. What follows
// the values after a blank or comment line (a summary table, another curve),
// or a line of text after them, ends them: they are read, and `notice` says
// where they end.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "response/ChannelResponse.h"

// Larger files are no measurement a person made (a million points, the most
// anyone exports, take about 40 MB).
constexpr std::size_t MeasurementFileLimit = std::size_t{256} << 20;

struct Measurement {
    std::vector<double> frequencies;  // Hz, rising
    std::vector<double> db;
    std::vector<double> phaseDegrees;  // empty when the file has no phase
};

struct MeasurementRead {
    bool ok = false;
    Measurement measurement;
    int errorLine = 0;   // 1-based; 0 when the fault is no single line
    std::string error;   // German, without the line number
    int endLine = 0;     // the line that ended the values early, if one did
    std::string notice;  // German: where the values ended early, if they did

    // "Zeile 12: ..." or the error alone.
    std::string message() const;
};

MeasurementRead parseMeasurement(std::string_view text);

// The average level in dB over 200 Hz to 2 kHz, taken over log frequency
// (linear between the points); false when the measurement has no values
// there. Subtracting it puts the measurement's midrange at 0 dB.
bool midrangeAverageDb(const Measurement& m, double& average);

// A channel response at `hz`, linear in log frequency between the points of
// the response grid (held at the grid's ends).
double responseDbAt(const ChannelResponse& response, double hz);

// What the channel would make of the measured loudspeaker: the measurement
// (plus `offsetDb`, e.g. the negative midrange average) plus the channel's
// response at each measured frequency.
std::vector<double> predictedDb(const Measurement& m, const ChannelResponse& response,
                                double offsetDb = 0.0);
