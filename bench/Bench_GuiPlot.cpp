// Drawing the response plot into its back buffer, at the plot's size in the
// main window's start-up size of 1200 x 700: grid, labels and six curves of
// a preset with filters and bands on every channel. This is the part of the
// 10 ms redraw tick that the plot itself costs; the aim is at most 1.5 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "BenchApplication.h"
#include "interchange/Measurement.h"
#include "model/ParameterImage.h"
#include "plot/PlotRenderer.h"
#include "plotmodel/MeasurementReduce.h"
#include "plotmodel/PlotGeometry.h"
#include "plotmodel/PlotView.h"
#include "response/ChannelResponse.h"

namespace {

void BM_DrawResponse(benchmark::State& state) {
    benchApplication();
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

    PlotRenderer renderer;
    renderer.init(QSize(DefaultPlotWidth, DefaultPlotHeight));
    for (auto _ : state) {
        renderer.drawResponse(image, *responses);
        benchmark::DoNotOptimize(renderer.backBuffer().constBits());
    }
    state.counters["plot_w"] = DefaultPlotWidth;
    state.counters["plot_h"] = DefaultPlotHeight;
}
BENCHMARK(BM_DrawResponse)->Unit(benchmark::kMillisecond);

// Drawing the plot with a measurement overlay of a million points and the
// result predicted from it, as every redraw with an overlay does: the
// prediction, the geometry and the painting. The measurement is thinned
// once when it is loaded (BM_ReduceMeasurementMillionPoints); drawing the
// whole one shows what that saves.
constexpr int OverlayPointCount = 1000000;

// A noisy woofer measurement from 2 Hz to 24 kHz.
const Measurement& millionPoints() {
    static const Measurement m = [] {
        Measurement m;
        m.frequencies.reserve(OverlayPointCount);
        m.db.reserve(OverlayPointCount);
        for (int i = 0; i < OverlayPointCount; ++i) {
            const double f =
                2.0 * std::pow(12000.0, static_cast<double>(i) / (OverlayPointCount - 1));
            m.frequencies.push_back(f);
            m.db.push_back(85.0 - 12.0 * std::log10(1.0 + f / 3000.0) + std::sin(i * 0.37));
        }
        return m;
    }();
    return m;
}

// state.range(0): 1 draws the thinned measurement, 0 the whole one.
void BM_DrawMeasurementOverlay(benchmark::State& state) {
    benchApplication();
    const Measurement m = state.range(0) ? reducedMeasurement(millionPoints()) : millionPoints();
    ParameterImage image;
    applyDefaults(image);
    image.setField(0, 0, ChannelField::lpType, 9);
    image.setField(0, 0, ChannelField::lpFrequency, 2000);
    const auto responses = std::make_unique<ChannelResponses>();
    computeResponses(image, *responses);
    double average = 0;
    midrangeAverageDb(m, average);

    PlotRenderer renderer;
    renderer.init(QSize(DefaultPlotWidth, DefaultPlotHeight));
    const PlotSettings settings = PlotSettings::fromImage(image);
    for (auto _ : state) {
        const std::vector<double> predicted = predictedDb(m, (*responses)[0], -average);
        PlotContent content = plotContent(image, {}, *responses, nullptr);
        content.overlays.push_back({0, CurveStroke::Dotted, &m.frequencies, &m.db, -average});
        content.overlays.push_back({0, CurveStroke::Dashed, &m.frequencies, &predicted, 0.0});
        renderer.drawView(settings, content);
        benchmark::DoNotOptimize(renderer.backBuffer().constBits());
    }
    state.counters["points"] = static_cast<double>(m.frequencies.size());
}
BENCHMARK(BM_DrawMeasurementOverlay)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
