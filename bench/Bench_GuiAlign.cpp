// The "Übergang ausrichten" dialog's live preview: after an option changes,
// the time until its candidates and the curves for the plot are there, as the
// dialog gets them: the change joined by its zero-length timer, the request
// to the worker thread, the quick search, the result collected in the event
// loop (every 5 ms), the list filled and the sums as set and of the best
// candidate computed for the plot. The aim is at most 50 ms. The pair is the
// synthetic two-way speaker of tests/tuning/measurements.

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QCoreApplication>

#include "BenchApplication.h"
#include "document/MeasurementOverlay.h"
#include "ui/AlignDialog.h"

namespace {

void BM_AlignDialogPreviewAfterOptionChange(benchmark::State& state) {
    benchApplication();
    AlignDialogInput input;
    input.preset = "Preset 1";
    for (int c = 0; c < ChannelCount; ++c) input.names[std::size_t(c)] = "Kanal";
    ChannelRecord& woofer = input.records[0];
    ChannelRecord& tweeter = input.records[1];
    woofer.lpFrequency = tweeter.hpFrequency = 2300;
    woofer.lpType = tweeter.hpType = FilterLinkwitzRiley24;
    woofer.hpFrequency = 20;
    tweeter.lpFrequency = 150;
    auto measurements = std::make_shared<std::array<Measurement, ChannelCount>>();
    const std::string dir = FILTARO_MEASUREMENTS_DIR;
    (*measurements)[0] = *readMeasurementFile(dir + "/model-a-woofer.txt").measurement;
    (*measurements)[1] = *readMeasurementFile(dir + "/model-a-tweeter.txt").measurement;
    input.measurements = measurements;
    input.channels = {0, 1};

    AlignDialog dialog(std::move(input));
    while (!dialog.finished()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bool arrived = false;
    QObject::connect(&dialog, &AlignDialog::previewChanged, [&] { arrived = true; });
    for (auto _ : state) {
        arrived = false;
        // The crossover may move, or no longer: twenty choices or one.
        dialog.varyCrossoverBox()->toggle();
        while (!arrived || dialog.preview().empty()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        benchmark::DoNotOptimize(dialog.preview());
    }
}
BENCHMARK(BM_AlignDialogPreviewAfterOptionChange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
