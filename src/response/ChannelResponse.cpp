#include "response/ChannelResponse.h"

#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "response/ResponseKernel.h"

double channelMagnitude(double f, const ChannelRecord& record) {
    double product = 1.0;  // 1 * EQ1 is EQ1 exactly: the product is still left to right
    for (int e = 0; e < EqBandCount; ++e) {
        const EqBand& band = record.eq[e];
        product *= eqMagnitude(f, band.frequency, band.q, band.level, e);
    }
    product *= highPassMagnitude(f, record.hpFrequency, record.hpType);
    product *= lowPassMagnitude(f, record.lpFrequency, record.lpType);
    return product;
}

double channelMagnitude(double f, const ParameterImage& image, int c) {
    return channelMagnitude(f, image.record(image.activePreset(), c));
}

void computeChannelResponse(const ChannelRecord& record, ChannelResponse& response) {
    channelResponseDb(record, gridTerms(), response.db);
}

void computeResponses(const ParameterImage& image, ChannelResponses& responses) {
    computePresetResponses(image, image.activePreset(), responses);
}

void computePresetResponses(const ParameterImage& image, int preset, ChannelResponses& responses) {
    const GridTerms& grid = gridTerms();
    for (int c = 0; c < ChannelCount; ++c) {
        // A preset out of range reads all-zero records.
        channelResponseDb(image.record(preset, c), grid, responses[c].db);
    }
}

bool aboveHeadroom(const ChannelResponse& response) {
    for (const float value : response.db) {
        if (value > HeadroomLimitDb) return true;
    }
    return false;
}

int checkHeadroom(const ChannelResponses& responses) {
    for (const ChannelResponse& response : responses) {
        if (aboveHeadroom(response)) return -1;
    }
    return 0;
}
