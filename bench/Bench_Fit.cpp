// The equaliser fit: one channel from one measurement, the preview after an
// option changes, and the refit of an imported design.

#include <benchmark/benchmark.h>

#include <cmath>

#include "interchange/FilterImport.h"
#include "response/AnalogSection.h"
#include "response/EqResponse.h"
#include "tuning/EqFit.h"
#include "tuning/Evidence.h"
#include "tuning/ImportRefit.h"

namespace {

// A loudspeaker measured at 1/48 octave from 20 Hz to 20 kHz: a bass
// roll-off, a broad hump, a baffle step, a breakup peak and a comb of small
// ripples.
Measurement loudspeaker() {
    Measurement m;
    for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 48.0)) {
        const double o = std::log2(f / 1000.0);
        const double db = 85.0 - 10.0 * std::log10(1.0 + std::pow(45.0 / f, 4.0)) +
                          3.0 * std::exp(-std::pow(std::log2(f / 150.0) / 0.5, 2.0)) -
                          4.0 / (1.0 + std::pow(f / 600.0, -2.0)) +
                          5.0 * std::exp(-std::pow(std::log2(f / 4500.0) / 0.25, 2.0)) +
                          0.7 * std::sin(11.0 * o);
        m.frequencies.push_back(f);
        m.db.push_back(db);
    }
    return m;
}

FitInput channelInput() {
    FitInput in;
    in.channel.hpFrequency = 60;
    in.channel.hpType = 4;
    in.channel.lpFrequency = 150;
    const int hz[] = {40, 80, 160, 400, 2000, 6000};
    for (int e = 0; e < EqBandCount; ++e) in.channel.eq[e] = {hz[e], 2, 0};
    return in;
}

// Fits `in` per iteration; `prepare` runs inside the timing first.
template <typename Prepare>
void timeFit(benchmark::State& state, FitInput& in, Prepare prepare) {
    double error = 0.0;
    for (auto _ : state) {
        prepare(in);
        const FitResult r = fitChannel(in);
        error = r.errorAfterDb;
        benchmark::DoNotOptimize(r);
    }
    state.counters["after_dB"] = error;
}

// The measurement averaged and smoothed as the dialog does it, then fitted.
void BM_FitOneChannel(benchmark::State& state) {
    const Measurement m = loudspeaker();
    FitInput in = channelInput();
    timeFit(state, in, [&](FitInput& i) {
        i.measurement = combineMeasurements({m}, Averaging::Power, 12).curve;
    });
}
BENCHMARK(BM_FitOneChannel)->Unit(benchmark::kMillisecond);

// The dialog's preview: the maximum boost changes, the last result is the start.
void BM_FitPreviewAfterOptionChange(benchmark::State& state) {
    FitInput in = channelInput();
    in.measurement = combineMeasurements({loudspeaker()}, Averaging::Power, 12).curve;
    const FitResult full = fitChannel(in);
    in.start = full.channel.eq;
    in.options.effort = FitEffort::Preview;
    in.options.maxBoostDb = 2;
    timeFit(state, in, [](FitInput&) {});
}
BENCHMARK(BM_FitPreviewAfterOptionChange)->Unit(benchmark::kMillisecond);

// An imported design (six free sections, as another program plays them)
// fitted on the grid, instead of rounded section by section.
void BM_FitImportRefit(benchmark::State& state) {
    const AnalogSection design[] = {
        {SectionType::LowShelf, 105.0, 0.71, 4.5}, {SectionType::Peaking, 63.0, 4.3, -6.2},
        {SectionType::Peaking, 237.0, 1.8, -3.1},  {SectionType::Peaking, 1130.0, 2.7, 2.4},
        {SectionType::Peaking, 3390.0, 5.5, -4.7}, {SectionType::HighShelf, 7800.0, 0.6, -2.5},
    };
    FitInput in = channelInput();
    in.channel.hpType = 0;
    in.target.shape = TargetShape::Curve;
    in.target.followsCrossover = false;
    for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 48.0)) {
        double db = 0.0;
        for (const AnalogSection& s : design) db += magnitudeToDb(sectionMagnitude(s, f));
        in.target.curve.frequencies.push_back(f);
        in.target.curve.db.push_back(db);
        in.measurement.frequencies.push_back(f);
        in.measurement.db.push_back(0.0);
    }
    in.options.maxBoostDb = 6;
    in.options.maxTotalBoostDb = 12.0;
    in.options.maxQ = 10.0;
    in.options.dips = DipHandling::Fill;
    in.options.useLevel = false;
    timeFit(state, in, [](FitInput&) {});
}
BENCHMARK(BM_FitImportRefit)->Unit(benchmark::kMillisecond);

// The same as the import runs it: the text read and mapped onto the channel
// (rounded filter by filter, the design kept), then refitted on the grid.
void BM_ImportRefitWholePath(benchmark::State& state) {
    const char* text =
        "Preamp: -3.7 dB\nFilter 1: ON PK Fc 63.5 Hz Gain -6.2 dB Q 4.3\n"
        "Filter 2: ON PK Fc 237 Hz Gain -3.1 dB Q 1.8\n"
        "Filter 3: ON PK Fc 1130 Hz Gain 2.4 dB Q 2.7\n"
        "Filter 4: ON PK Fc 3390 Hz Gain -4.7 dB Q 5.5\n"
        "Filter 5: ON LSC Fc 105 Hz Gain 4.5 dB Q 0.71\n"
        "Filter 6: ON HSC Fc 7800 Hz Gain -2.5 dB Q 0.6\n"
        "Filter 7: ON PK Fc 9100 Hz Gain 1.5 dB Q 1.2\n";
    const ChannelRecord channel = channelInput().channel;
    double rms = 0.0;
    for (auto _ : state) {
        const FilterImport imported = importFilterText(text, channel, 1);
        const ImportRefit refit = refitImport(imported.report);
        rms = refit.difference.rmsDb;
        benchmark::DoNotOptimize(refit);
    }
    state.counters["rms_dB"] = rms;
}
BENCHMARK(BM_ImportRefitWholePath)->Unit(benchmark::kMillisecond);

}  // namespace
