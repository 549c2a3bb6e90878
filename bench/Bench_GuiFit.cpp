// The "Automatisch anpassen" dialog's live preview: after an option changes,
// the time until its first updated curve is there, as the dialog gets it:
// a request to the worker thread (the measurement averaged and smoothed, the
// quick preview fitted from the bands shown) until the result arrives in the
// owning thread's event loop (which collects it every 5 ms) and its curves
// for the plot are made. The aim is at most 50 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdlib>

#include "BenchApplication.h"
#include "ui/FitRunner.h"
#include "ui/FitSummary.h"

namespace {

// A loudspeaker at 1/48 octave from 20 Hz to 20 kHz (as in Bench_Fit.cpp).
Measurement loudspeaker(double shift) {
    Measurement m;
    for (double f = 20.0; f <= 20000.0; f *= std::pow(2.0, 1.0 / 48.0)) {
        const double o = std::log2(f / 1000.0);
        m.frequencies.push_back(f);
        m.db.push_back(85.0 - 10.0 * std::log10(1.0 + std::pow(45.0 / f, 4.0)) +
                       3.0 * std::exp(-std::pow(std::log2(f / 150.0) / 0.5, 2.0)) -
                       4.0 / (1.0 + std::pow(f / 600.0, -2.0)) +
                       5.0 * std::exp(-std::pow(std::log2(f / 4500.0) / 0.25, 2.0)) +
                       0.7 * std::sin(11.0 * o + shift));
    }
    return m;
}

void BM_FitDialogFirstCurveAfterOptionChange(benchmark::State& state) {
    benchApplication();
    FitJob job;
    job.measurements = std::make_shared<std::vector<Measurement>>(
        std::vector<Measurement>{loudspeaker(0.0), loudspeaker(1.3)});
    job.input.channel.hpFrequency = 60;
    job.input.channel.hpType = 4;
    job.input.channel.lpFrequency = 150;
    const int hz[] = {40, 80, 160, 400, 2000, 6000};
    for (int e = 0; e < EqBandCount; ++e) job.input.channel.eq[e] = {hz[e], 2, 0};
    FitRunner runner;
    // The bands shown before the change: a full fit's.
    FitInput full;
    std::string error;
    prepareFitInput(job, full, error);
    job.input.start = fitChannel(full).channel.eq;

    bool arrived = false;
    PlotPreview preview;
    QObject::connect(&runner, &FitRunner::resultReady,
                     [&](int, const FitResult& result, bool final) {
                         if (final) return;
                         preview = fitPreview(result, 0);
                         arrived = true;
                     });
    int boost = 0;
    for (auto _ : state) {
        job.input.options.maxBoostDb = 1 + (boost++ % 3);  // the option that changed
        arrived = false;
        runner.request(job);
        while (!arrived) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        benchmark::DoNotOptimize(preview);
    }
    runner.stop();
}
BENCHMARK(BM_FitDialogFirstCurveAfterOptionChange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
