// One redraw step of the main view, as the 10 ms timer runs it when a change
// is pending: the six channel responses recomputed, the plot drawn into its
// back buffer and copied to the screen. Measured in the real program window
// at its start-up size of 1200 x 700 on Qt's offscreen platform; the tick
// leaves it 10 ms, the aim is at most a fifth of that, with both sums shown
// too (the complex path then runs as well), and with the sums the
// measurements predict (two drivers with phase on each side, 4000 points
// each, a dense REW export).
//
// And one move of the mouse over the plot: the cursor readout found and the
// cursor layer and the status-bar pane repainted over the unchanged back
// buffer; the aim is at most 0.3 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>

#include "BenchApplication.h"
#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "plot/CResponsePlot.h"
#include "view/CSonaroView.h"
#include "view/CommandIds.h"

namespace {

// The program started in a directory of its own, with no device (an empty
// port directory), every box and dialog answered.
class BenchProgram {
public:
    BenchProgram()
        : m_previous(std::filesystem::current_path()),
          m_path(std::filesystem::temp_directory_path() / "filtaro-bench-redraw"),
          m_answer(acceptDialog) {
        benchApplication();
        std::filesystem::create_directories(m_path / "ports");
        std::filesystem::current_path(m_path);
        setenv("FILTARO_PORT_DIR", (m_path / "ports").c_str(), 1);
        m_app = std::make_unique<CSonaroApp>();
        m_started = m_app->initInstance() == CSonaroApp::Startup::Running;
    }
    ~BenchProgram() {
        m_app.reset();
        unsetenv("FILTARO_PORT_DIR");
        std::error_code ec;
        std::filesystem::current_path(m_previous, ec);
        std::filesystem::remove_all(m_path, ec);
    }

    bool started() const { return m_started; }
    CSonaroView& view() const { return *m_app->mainFrame()->view(); }
    ParameterImage& image() const { return m_app->document().image(); }
    Document& document() const { return m_app->document(); }
    std::string file(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
    ScopedModalAnswer m_answer;
    std::unique_ptr<CSonaroApp> m_app;
    bool m_started = false;
};

// Every channel with filters and bands, so that no factor is trivial, and
// channels on L, R and L+R, so that both sums are drawn.
void busyPreset(ParameterImage& image) {
    for (int c = 0; c < ChannelCount; ++c) {
        image.setField(0, c, ChannelField::hpType, 4);
        image.setField(0, c, ChannelField::lpType, 9);
        image.setField(0, c, ChannelField::lpFrequency, 5000);
        image.setField(0, c, ChannelField::input, c % 3);
        image.setField(0, c, ChannelField::delayTaps, 30 * c);
        for (int e = 0; e < EqBandCount; ++e) {
            image.setField(0, c, eqLevelField(e), (e % 3) * 2 - 2);
        }
    }
}

// A driver measured with phase: `points` from 20 Hz to 20 kHz, a second-order
// roll-off below `lowHz` and above `highHz`, `delayMs` of flight time.
void writeDriver(const std::string& path, double lowHz, double highHz, double delayMs) {
    std::ofstream out(path);
    out << "* Freq(Hz), SPL(dB), Phase(degrees)\n";
    constexpr int points = 4000;
    for (int k = 0; k < points; ++k) {
        const double hz = 20.0 * std::pow(1000.0, k / (points - 1.0));
        const std::complex<double> s(0.0, hz);
        const std::complex<double> h =
            (s * s / (s * s + s * lowHz * std::sqrt(2.0) + lowHz * lowHz)) *
            (highHz * highHz / (s * s + s * highHz * std::sqrt(2.0) + highHz * highHz)) *
            std::polar(1.0, -2.0 * std::numbers::pi * hz * delayMs / 1000.0);
        out << hz << ", " << 85.0 + 20.0 * std::log10(std::abs(h)) << ", "
            << std::arg(h) * 180.0 / std::numbers::pi << "\n";
    }
}

// The redraw step in the default view (argument 0), with both sums (1), and
// with both sums and the sums the measurements predict (2).
void BM_RedrawStep(benchmark::State& state) {
    BenchProgram program;
    if (!program.started()) {
        state.SkipWithError("the program did not start");
        return;
    }
    QApplication::processEvents();  // the first layout of the shown window
    CSonaroView& view = program.view();
    busyPreset(program.image());
    if (state.range(0) >= 1) view.onCommand(CmdShowSums);
    if (state.range(0) == 2) {
        writeDriver(program.file("tief.txt"), 40.0, 3000.0, 3.0);
        writeDriver(program.file("hoch.txt"), 1500.0, 30000.0, 2.95);
        for (int c = 0; c < 4; ++c) {
            if (!program.document().loadMeasurement(
                    c, program.file(c % 2 ? "hoch.txt" : "tief.txt"))) {
                state.SkipWithError("a measurement was not loaded");
                return;
            }
        }
        // Both sides fed by a woofer and a tweeter.
        for (int c = 0; c < 4; ++c) program.image().setField(0, c, ChannelField::input, c / 2);
    }
    ParameterImage& image = program.image();
    for (auto _ : state) {
        image.setRedrawPending(1);
        benchmark::DoNotOptimize(view.redrawStep());
    }
    const QSize plot = view.plot()->backBufferSize();
    state.counters["plot_w"] = plot.width();
    state.counters["plot_h"] = plot.height();
}
BENCHMARK(BM_RedrawStep)->ArgName("sums")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The mouse sweeps across the plot in steps of 7 pixels, so that most moves
// reach a grid point with values not shown before; each move ends when the
// window has painted it.
void BM_CursorMove(benchmark::State& state) {
    BenchProgram program;
    if (!program.started()) {
        state.SkipWithError("the program did not start");
        return;
    }
    QApplication::processEvents();
    CSonaroView& view = program.view();
    busyPreset(program.image());
    view.onCommand(CmdShowSums);
    program.image().setRedrawPending(1);
    view.redrawStep();
    // The window's first exposure repaints all of it; let it pass first.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200) QApplication::processEvents(QEventLoop::AllEvents, 20);
    CResponsePlot& plot = *view.plot();
    const int redraws = view.redrawCount();
    int step = 0;
    for (auto _ : state) {
        const int x = 4 + (7 * step++) % 860;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 200), plot.mapToGlobal(QPointF(x, 200)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&plot, &move);
        QApplication::processEvents();
    }
    if (view.redrawCount() != redraws) state.SkipWithError("the readout redrew the plot");
    if (plot.cursorPoint() < 0) state.SkipWithError("no cursor");
}
BENCHMARK(BM_CursorMove)->Unit(benchmark::kMicrosecond);

}  // namespace
