// The crossover alignment: the full search over a channel's whole delay
// line, every level and twenty crossover choices for a pair; the dialog's
// preview after a change; one setting's sum for the plot.

#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "model/DelayUnits.h"
#include "tuning/CrossoverAlign.h"

namespace {

// A driver at 1/48 octave from 20 Hz to 20 kHz with a second-order roll-off
// at `highPassHz` and `lowPassHz`, heard `taps` late, phase wrapped.
Measurement driver(double highPassHz, double lowPassHz, double taps, double db) {
    Measurement m;
    for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 48.0)) {
        const std::complex<double> s(0.0, f);
        std::complex<double> h = (s * s) / (s * s + s * highPassHz / 0.7 + highPassHz * highPassHz);
        h *= lowPassHz * lowPassHz / (s * s + s * lowPassHz / 0.7 + lowPassHz * lowPassHz);
        h *= std::polar(1.0, -2.0 * std::numbers::pi * f * taps * SecondsPerTap);
        m.frequencies.push_back(f);
        m.db.push_back(db + 20.0 * std::log10(std::abs(h)));
        m.phaseDegrees.push_back(std::arg(h) * 180.0 / std::numbers::pi);
    }
    return m;
}

AlignInput pairInput() {
    AlignInput in;
    for (ChannelRecord& r : in.records) {
        r.hpFrequency = 20;
        r.lpFrequency = 150;
        r.input = 1;
        const int hz[] = {40, 80, 160, 400, 2000, 6000};
        for (int e = 0; e < EqBandCount; ++e) r.eq[e] = {hz[e], 2, 0};
    }
    in.records[0] = {.level = 0, .hpFrequency = 20, .hpType = 0, .lpFrequency = 2000, .lpType = 9};
    in.records[1] = {.level = 0, .hpFrequency = 2000, .hpType = 9, .lpFrequency = 150, .lpType = 0};
    in.channels = {0, 1};
    in.measurements[0] = driver(50.0, 4000.0, 6.0, 87.0);
    in.measurements[1] = driver(900.0, 30000.0, 0.0, 91.0);
    return in;
}

// 421 delays x 13 levels x (2 types x 10 frequencies + the present) for
// channel 2, and the polarity check after it.
void BM_AlignFullSearch(benchmark::State& state) {
    AlignInput in = pairInput();
    in.options.vary.crossover = true;
    in.options.crossoverTypes = {9, 4};
    in.options.crossoverFrequencies = {1500, 1600, 1700, 1800, 1900, 2100, 2200, 2300, 2400, 2500};
    int delay = 0;
    for (auto _ : state) {
        const AlignResult r = alignCrossover(in);
        delay = r.candidates.front().records[1].delayTaps;
        benchmark::DoNotOptimize(r);
    }
    state.counters["delay_taps"] = delay;
}
BENCHMARK(BM_AlignFullSearch)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The dialog's preview after a change (here: the crossover may now move).
void BM_AlignPreviewAfterChange(benchmark::State& state) {
    AlignInput in = pairInput();
    in.options.vary.crossover = true;
    in.options.crossoverTypes = {9, 4};
    in.options.crossoverFrequencies = {1500, 1600, 1700, 1800, 1900, 2100, 2200, 2300, 2400, 2500};
    in.options.effort = AlignEffort::Preview;
    for (auto _ : state) benchmark::DoNotOptimize(alignCrossover(in));
}
BENCHMARK(BM_AlignPreviewAfterChange)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One setting's predicted sum, as the plot draws it while a value changes.
void BM_AlignEvaluateSetting(benchmark::State& state) {
    const AlignInput in = pairInput();
    std::vector<ChannelRecord> records{in.records[0], in.records[1]};
    records[1].delayTaps = 6;
    for (auto _ : state) benchmark::DoNotOptimize(evaluateAlignment(in, records));
}
BENCHMARK(BM_AlignEvaluateSetting)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
