// Measurement files (REW text export, FRD/TXT with any separator).
// Input: the file's text.
//
// A file is either refused with a reason (and a line, where one line is at
// fault) or read completely: rising frequencies, a finite level at each,
// the phase for all points or none. What the overlay computes from it (the
// midrange average, the prediction through a channel, the thinning for
// drawing) stays finite and keeps the points in order.

#include <cmath>

#include "FuzzSupport.h"
#include "interchange/Measurement.h"
#include "model/ParameterImage.h"
#include "plotmodel/MeasurementReduce.h"

namespace {

bool rising(const std::vector<double>& hz) {
    for (std::size_t i = 1; i < hz.size(); ++i) {
        if (!(hz[i] > hz[i - 1])) return false;
    }
    return true;
}

bool allFinite(const std::vector<double>& values) {
    for (double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

void checkMeasurement(const Measurement& m) {
    fuzzCheck(m.db.size() == m.frequencies.size(), "a level at each frequency");
    fuzzCheck(m.phaseDegrees.empty() || m.phaseDegrees.size() == m.frequencies.size(),
              "the phase at all points or none");
    fuzzCheck(rising(m.frequencies), "frequencies rise");
    fuzzCheck(allFinite(m.frequencies) && allFinite(m.db) && allFinite(m.phaseDegrees),
              "every value is a number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const MeasurementRead read = parseMeasurement(text);
    if (!read.ok) {
        fuzzCheck(!read.error.empty() && read.errorLine >= 0, "a refusal says why");
        (void)read.message();
        return 0;
    }
    const Measurement& m = read.measurement;
    checkMeasurement(m);

    double average = 0.0;
    if (midrangeAverageDb(m, average)) fuzzCheck(std::isfinite(average), "the average is a number");
    ChannelResponse response;
    for (std::size_t j = 0; j < response.db.size(); ++j) {
        response.db[j] = static_cast<float>(static_cast<int>(j % 25) - 12);
    }
    const std::vector<double> predicted = predictedDb(m, response, -average);
    fuzzCheck(predicted.size() == m.frequencies.size(), "a prediction at each point");
    fuzzCheck(allFinite(predicted), "the prediction is a number");

    const Measurement reduced = reducedMeasurement(m);
    checkMeasurement(reduced);
    fuzzCheck(reduced.frequencies.size() <= m.frequencies.size(), "thinning never adds points");
    return 0;
}
