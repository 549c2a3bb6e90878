#pragma once
// The responses of the six channels of the active preset on the ResponseGrid:
// per point the product of the six equaliser bands, the high-pass and the
// low-pass (in that order), in dB, plus the channel level, in single
// precision. The caller (the main view) owns the six ChannelResponses and
// keeps the last result until the next computeResponses().

#include <array>

#include "model/ChannelRecord.h"
#include "model/ParameterImage.h"
#include "response/ResponseGrid.h"

// The send command warns when any stored point is strictly above this.
constexpr double HeadroomLimitDb = 12.0;

struct ChannelResponse {
    static constexpr int pointCount = ResponsePointCount;
    std::array<float, ResponsePointCount> db{};  // point j belongs to grid point j
};

using ChannelResponses = std::array<ChannelResponse, ChannelCount>;

// Linear magnitude of one channel at f Hz: EQ1 * ... * EQ6 * high-pass *
// low-pass, left to right in double precision. The level is not included.
double channelMagnitude(double f, const ChannelRecord& record);
// The same for channel c of the image's active preset; a preset or channel
// out of range reads as an all-zero record.
double channelMagnitude(double f, const ParameterImage& image, int c);

// The response of one channel record, as computeResponses() computes each.
void computeChannelResponse(const ChannelRecord& record, ChannelResponse& response);

// Fills all six responses (whatever the channel count of the device) from
// the records of `image.activePreset()`. A preset out of range reads as
// all-zero records; a channel whose product is zero or NaN gives 0 dB plus
// its level.
void computeResponses(const ParameterImage& image, ChannelResponses& responses);
// The same for any preset; computeResponses() is this for the active one.
void computePresetResponses(const ParameterImage& image, int preset, ChannelResponses& responses);

// -1 when any of the 6 x 2000 stored values is greater than HeadroomLimitDb,
// else 0.
int checkHeadroom(const ChannelResponses& responses);
// True when any of the channel's 2000 values is greater than HeadroomLimitDb.
bool aboveHeadroom(const ChannelResponse& response);
