#pragma once
// What the loudspeaker will do with the settings, from its measurements:
// each channel's measured driver (level and phase) times the channel's
// complex response as set (level, delay, crossover and equaliser, exactly as
// computeComplexResponses() gives it), and the sums L and R of those
// predictions, on the plot's grid points. Only a measurement with phase can
// take part: without it neither the channel's delay nor its crossover phase
// says anything about the sum.
//
// Levels are summed as the files give them: the measurements of one session
// keep their level ratio only if they are not normalised one by one (a
// single offset for all of them, as the fit's shared offset, changes nothing
// but the sum's level).

#include <array>
#include <complex>
#include <vector>

#include "interchange/Measurement.h"
#include "model/ChannelRecord.h"
#include "response/ComplexResponse.h"
#include "tuning/MeasuredPhase.h"

// Values on the grid points first .. first + values.size() - 1 of the
// response grid (ResponseGrid.h); empty when nothing is covered.
struct MeasuredCurve {
    int first = 0;
    std::vector<std::complex<double>> values;  // pressure, 1 = 0 dB
};

// The grid points whose frequency lies within loHz..hiHz, as [first, end).
std::pair<int, int> gridSpan(double loHz, double hiHz);

// The channel's complex response at grid point j of `channel` (from
// computeComplexResponses), as one value.
std::complex<double> channelValue(const ResponseCurves& channel, int j);

// One channel: the measurement times the channel, where the measurement
// reaches, plus `offsetDb`.
MeasuredCurve predictedChannel(const MeasuredPhase& measured, const ResponseCurves& channel,
                               double offsetDb = 0.0);

struct MeasuredSums {
    // "Summe L", "Summe R": the complex sum of the predictions of the channels
    // that feed the side and have a measurement with phase, over the span all
    // of them cover; empty when there is none.
    std::array<MeasuredCurve, SumCount> sums;
    std::array<std::vector<int>, SumCount> channels;  // the channels (0..5) in each sum
    // Channels that feed the side but have no measurement with phase: the sum
    // leaves them out, and a view should say so.
    std::array<std::vector<int>, SumCount> missing;
};

// `measurements[c]` is the measurement of channel c, or null. `responses` come
// from computeComplexResponses() for `records`.
MeasuredSums measuredSums(const std::array<ChannelRecord, ChannelCount>& records,
                          const ComplexResponses& responses,
                          const std::array<const Measurement*, ChannelCount>& measurements,
                          double offsetDb = 0.0);
// The same from measurements already prepared for reading (null: channel c
// has no measurement with phase), for a caller that keeps them across many
// settings, such as the plot on every redraw.
MeasuredSums measuredSums(const std::array<ChannelRecord, ChannelCount>& records,
                          const ComplexResponses& responses,
                          const std::array<const MeasuredPhase*, ChannelCount>& measured,
                          double offsetDb = 0.0);

// A curve as the views show it: level in dB (SilenceDb where it vanishes),
// phase wrapped to [-180, 180] degrees, group delay in milliseconds from the
// phase steps to the neighbouring grid points.
struct MeasuredQuantities {
    int first = 0;
    std::vector<double> db;
    std::vector<double> phaseDegrees;
    std::vector<double> groupDelayMs;
};
MeasuredQuantities quantitiesOf(const MeasuredCurve& curve);
