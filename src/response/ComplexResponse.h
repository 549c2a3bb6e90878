#pragma once
// The complex response of the channels and of their sums at the listening
// position: magnitude, phase and group delay from one evaluation of the same
// analog model whose magnitude ChannelResponse.h computes.
//
// Every crossover section and equaliser band is taken as the complex analog
// transfer function whose magnitude the magnitude path computes (see
// ComplexMath.h for the list), in the same cascades, evaluated at s = j*2*pi*f.
// A channel is the product EQ1..EQ6 * high-pass * low-pass, times its level,
// times its delay e^(-j*2*pi*f*taps*SecondsPerTap). This is a model of the
// settings, not a measurement of the device: it knows neither the device's
// sample rate nor its converters, nor the room.
//
// Contract with the magnitude path:
// - The magnitude in dB agrees with computeResponses() within 0.001 dB at
//   every grid point where that path gives a finite value from a product that
//   is neither zero nor NaN. The magnitude plot and the headroom check keep
//   using computeResponses(); these curves are for phase, group delay and the
//   sums, and for the readout of those views.
// - Codes that no panel produces are read as the magnitude path reads them: a
//   filter type outside 0..9 is no filter; a Q code above 20 on EQ1..EQ4 is a
//   low shelf; a preset out of range reads all-zero records. Where a channel's
//   product is zero, NaN or not representable (a Q code of 0, a corner of
//   0 Hz, gains far beyond any panel's range), the channel reads as the
//   magnitude path shows it, 0 dB plus its level: its sections count as 1,
//   with phase 0 and no group delay; the level and the delay still apply.
//   Every value stored is finite (a group delay beyond the float range, as
//   next to an exact null of a sum, is held at the range's end).
// - Far above the audio range, where a delay turns the phase by 2^51 turns
//   or more, double precision no longer resolves the fraction of a turn, and
//   the delay's share of the phase reads as whole turns (its group delay
//   still counts).
//
// The sums: input 0 ("L") feeds the left side, 1 ("R") the right side, 2
// ("L+R") both; any other input code feeds neither. A sum is the complex sum of
// the channels on its side, driven by a signal on that side only. All six
// channels of the active preset count, whatever the toolbar shows: hiding a
// curve does not silence a loudspeaker, and the model, like the magnitude
// path, computes six channels whatever the device's channel count.

#include <array>
#include <complex>
#include <cstdint>
#include <string_view>

#include "model/ChannelRecord.h"
#include "model/ParameterImage.h"
#include "response/ResponseGrid.h"

// The quantities a view shows.
enum class ResponseQuantity { Magnitude, Phase, GroupDelay };

// The unit of a quantity as the user reads it: "dB", "°", "ms".
std::string_view quantityUnit(ResponseQuantity quantity);

// Input sides: the index of a sum.
constexpr int SumCount = 2;
constexpr int SideLeft = 0;
constexpr int SideRight = 1;
constexpr std::array<std::string_view, SumCount> SumCurveNames = {"Summe L", "Summe R"};

// True when a channel with input code `input` feeds side `side`.
constexpr bool inputFeedsSide(std::int32_t input, int side) {
    return input == 2 || (input == side && (side == SideLeft || side == SideRight));
}

// Where a sum vanishes (no channel on its side, or channels cancelling
// exactly) its magnitude reads this, with phase 0 and group delay 0.
constexpr float SilenceDb = -1000.0f;

using ResponseValues = std::array<float, ResponsePointCount>;

// One curve in all three quantities; point j belongs to grid point j.
struct ResponseCurves {
    ResponseValues db{};            // magnitude in dB, level included
    ResponseValues phaseDegrees{};  // wrapped to [-180, 180]
    ResponseValues groupDelayMs{};  // -d(phase)/d(omega) in milliseconds

    const ResponseValues& values(ResponseQuantity quantity) const;
};

// All curves of one preset. About 190 KB: allocate it, don't put it on the stack.
struct ComplexResponses {
    std::array<ResponseCurves, ChannelCount> channels;
    std::array<ResponseCurves, SumCount> sums;
    // How many channels feed each side; 0 means the sum is silent.
    std::array<int, SumCount> sumChannelCount{};
};

// Fills every channel and both sums for the records of `image.activePreset()`.
void computeComplexResponses(const ParameterImage& image, ComplexResponses& responses);
// The same for six given records.
void computeComplexResponses(const std::array<ChannelRecord, ChannelCount>& records,
                             ComplexResponses& responses);

// One section at one frequency: the value H(j*2*pi*f) and its group delay
// -d(arg H)/d(omega) in seconds, both from the same code as the grid. A
// value that is zero or NaN gives a NaN group delay.
struct PointResponse {
    std::complex<double> value;
    double groupDelaySeconds;
};

// The crossover filter of `type` (as highPassMagnitude()/lowPassMagnitude()
// take it) with corner `fc`, and one equaliser band (as eqMagnitude()).
PointResponse highPassResponse(double f, double fc, double type);
PointResponse lowPassResponse(double f, double fc, double type);
PointResponse eqResponse(double f, double f0, double qCode, double gainDb, int band);
