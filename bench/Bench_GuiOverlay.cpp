// Drawing the plot with a measurement overlay of a million points and the
// result predicted from it, as every redraw with an overlay does: the
// prediction, the geometry and the painting. The measurement is thinned
// once when it is loaded (BM_ReduceMeasurementMillionPoints); drawing the
// whole one shows what that saves.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "interchange/Measurement.h"
#include "interchange/MeasurementReduce.h"
#include "model/ParameterImage.h"
#include "plot/CPlotRenderer.h"
#include "response/ChannelResponse.h"
#include "response/PlotView.h"

namespace {

constexpr int PointCount = 1000000;

void ensureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "filtaro-bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// A noisy woofer measurement from 2 Hz to 24 kHz.
const Measurement& millionPoints() {
    static const Measurement m = [] {
        Measurement m;
        m.frequencies.reserve(PointCount);
        m.db.reserve(PointCount);
        for (int i = 0; i < PointCount; ++i) {
            const double f = 2.0 * std::pow(12000.0, static_cast<double>(i) / (PointCount - 1));
            m.frequencies.push_back(f);
            m.db.push_back(85.0 - 12.0 * std::log10(1.0 + f / 3000.0) + std::sin(i * 0.37));
        }
        return m;
    }();
    return m;
}

// state.range(0): 1 draws the thinned measurement, 0 the whole one.
void BM_DrawMeasurementOverlay(benchmark::State& state) {
    ensureApplication();
    const Measurement m = state.range(0) ? reducedMeasurement(millionPoints()) : millionPoints();
    ParameterImage image;
    applyDefaults(image);
    image.setField(0, 0, ChannelField::lpType, 9);
    image.setField(0, 0, ChannelField::lpFrequency, 2000);
    const auto responses = std::make_unique<ChannelResponses>();
    computeResponses(image, *responses);
    double average = 0;
    midrangeAverageDb(m, average);

    CPlotRenderer renderer;
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
