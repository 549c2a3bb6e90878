#include "tuning/ImportRefit.h"

#include <algorithm>

#include "model/ParameterLimits.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "response/ResponseGrid.h"

namespace {

// The plot's grid points from 20 Hz to 20 kHz (those the fit scores).
constexpr int FirstPoint = 100;
constexpr int PointCount = 301;

}  // namespace

ImportRefit refitImport(const ImportReport& report, const FitProgress& progress) {
    ImportRefit out;
    out.record = report.record;
    if (!report.setsEq) {
        out.message = "Der Text setzt keinen Equalizer; auf das Raster anzupassen gibt es nichts.";
        return out;
    }
    FitInput in;
    in.channel = report.record;
    // The fit scores the whole channel; what the text does not set is taken
    // out again through the "measurement", so that the score compares what
    // the report's difference compares.
    const ChannelRecord& r = report.record;
    for (int i = 0; i < PointCount; ++i) {
        const double f = responseGridFrequency(FirstPoint + i);
        double notSet = 0.0;
        if (!report.setsLevel) notSet += r.level;
        if (!report.setsHighPass) {
            notSet += magnitudeToDb(highPassMagnitude(f, r.hpFrequency, r.hpType));
        }
        if (!report.setsLowPass) {
            notSet += magnitudeToDb(lowPassMagnitude(f, r.lpFrequency, r.lpType));
        }
        in.measurement.frequencies.push_back(f);
        in.measurement.db.push_back(-notSet);
        in.target.curve.frequencies.push_back(f);
        in.target.curve.db.push_back(report.design.db(f));
    }
    in.target.shape = TargetShape::Curve;
    in.target.followsCrossover = false;
    in.target.levelDb = 0.0;  // the design's own level
    FitOptions& o = in.options;
    o.range = FrequencyRange{20.0, 20000.0};
    // The panel's limits, nothing stricter: the text decides what it boosts.
    o.maxBoostDb = std::min(6, ParameterLimits::eqGain.hi);
    o.maxTotalBoostDb = 6.0 * EqBandCount;
    o.maxQ = 10.0;
    o.dips = DipHandling::Fill;
    o.useLevel = report.setsLevel;
    const FitResult fit = fitChannel(in, progress);
    if (fit.status != FitStatus::Ok) {
        out.message = fit.status == FitStatus::Cancelled ? "Abgebrochen." : fit.message;
        return out;
    }
    out.ok = true;
    out.record = fit.channel;
    out.difference = designDifference(report, out.record);
    return out;
}
