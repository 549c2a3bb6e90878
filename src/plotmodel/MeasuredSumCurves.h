#pragma once
// The sums L and R as the measurements predict them ("Summe L (gemessen)"):
// each channel's measured driver times the channel as set, summed with
// phase (what the loudspeaker will play, where the model's sums assume
// ideal drivers). They are drawn beside the model's sums, in the sum's
// colour and dotted like the measurements they come from, in the magnitude
// and phase views of a sum that is shown. The group-delay view leaves them
// out, as it leaves out the measurements: a derivative of measured phase
// would only cover the model's curves.
//
// They lie on the response grid but cover only the span every measurement
// of their side reaches. A channel that feeds the side without a measurement
// with phase cannot take part; its name says so: "Summe L (gemessen, ohne
// Kanal 3)".

#include <array>
#include <string>
#include <vector>

#include "response/ComplexResponse.h"

struct PlotContent;

struct MeasuredSumCurve {
    int first = 0;                     // grid point of the first value
    std::vector<double> hz;            // the grid's frequencies from `first` on
    std::vector<double> db;            // SilenceDb where the sum vanishes
    std::vector<double> phaseDegrees;  // wrapped to [-180, 180]
    std::vector<int> channels;         // 0..5, those in the sum
    std::vector<int> leftOut;          // 0..5, feeding the side without phase
    std::string name;                  // as the readout and the CSV name it

    bool empty() const { return hz.empty(); }
    // `db` or `phaseDegrees`; null for the group delay.
    const std::vector<double>* values(ResponseQuantity quantity) const;
};

using MeasuredSumCurves = std::array<MeasuredSumCurve, SumCount>;

// "Summe L (gemessen)", "Summe R (gemessen, ohne Kanal 2 und Kanal 5)".
std::string measuredSumName(int side, const std::vector<int>& leftOut);

// Adds the measured sums of the sums `content` draws as overlay curves, in
// its view. They borrow from `sums`, which must stay unchanged while
// `content` is in use.
void addMeasuredSums(PlotContent& content, const MeasuredSumCurves& sums);
