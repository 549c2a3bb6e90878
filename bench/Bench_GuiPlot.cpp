// Drawing the response plot into its back buffer, at the plot's size in the
// main window's start-up size of 1200 x 700: grid, labels and six curves of
// a preset with filters and bands on every channel. This is the part of the
// 10 ms redraw tick that the plot itself costs; the aim is at most 1.5 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "model/ParameterImage.h"
#include "plot/CPlotRenderer.h"
#include "response/ChannelResponse.h"
#include "response/PlotGeometry.h"

namespace {

// Shares the process's application object with the other GUI benchmarks.
void ensureBenchApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "filtaro-bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void BM_DrawResponse(benchmark::State& state) {
    ensureBenchApplication();
    ParameterImage image;
    applyDefaults(image);
    for (int c = 0; c < ChannelCount; ++c) {
        image.setField(0, c, ChannelField::hpType, 4);
        image.setField(0, c, ChannelField::hpFrequency, 40 + 30 * c);
        image.setField(0, c, ChannelField::lpType, 9);
        image.setField(0, c, ChannelField::lpFrequency, 2000 + 2500 * c);
        for (int e = 0; e < EqBandCount; ++e) {
            image.setField(0, c, eqLevelField(e), (e % 3) * 2 - 2);
        }
    }
    const auto responses = std::make_unique<ChannelResponses>();
    computeResponses(image, *responses);

    CPlotRenderer renderer;
    renderer.init(QSize(DefaultPlotWidth, DefaultPlotHeight));
    for (auto _ : state) {
        renderer.drawResponse(image, *responses);
        benchmark::DoNotOptimize(renderer.backBuffer().constBits());
    }
    state.counters["plot_w"] = DefaultPlotWidth;
    state.counters["plot_h"] = DefaultPlotHeight;
}
BENCHMARK(BM_DrawResponse)->Unit(benchmark::kMillisecond);

}  // namespace
