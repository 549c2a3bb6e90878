// One redraw step of the main view, as the 10 ms timer runs it when a change
// is pending: the six channel responses recomputed, the plot drawn into its
// back buffer and copied to the screen. Measured in the real program window
// at its start-up size of 1200 x 700 on Qt's offscreen platform; the tick
// leaves it 10 ms, the aim is at most a fifth of that.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/CMainFrame.h"
#include "app/CSonaroApp.h"
#include "forms/ModalRunner.h"
#include "model/ParameterImage.h"
#include "plot/CResponsePlot.h"
#include "view/CSonaroView.h"

namespace {

QApplication& benchApp() {
    static int argc = 1;
    static char name[] = "filtaro-bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The program started in a directory of its own, with no device (an empty
// port directory), every box and dialog answered.
class BenchProgram {
public:
    BenchProgram()
        : m_previous(std::filesystem::current_path()),
          m_path(std::filesystem::temp_directory_path() / "filtaro-bench-redraw"),
          m_answer(acceptDialog) {
        benchApp();
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
    ParameterImage& image() const { return *m_app->session().image; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
    ScopedModalAnswer m_answer;
    std::unique_ptr<CSonaroApp> m_app;
    bool m_started = false;
};

void BM_RedrawStep(benchmark::State& state) {
    BenchProgram program;
    if (!program.started()) {
        state.SkipWithError("the program did not start");
        return;
    }
    QApplication::processEvents();  // the first layout of the shown window
    CSonaroView& view = program.view();
    // Every channel with filters and bands, so that no factor is trivial.
    ParameterImage& image = program.image();
    for (int c = 0; c < ChannelCount; ++c) {
        image.setField(0, c, ChannelField::hpType, 4);
        image.setField(0, c, ChannelField::lpType, 9);
        image.setField(0, c, ChannelField::lpFrequency, 5000);
        for (int e = 0; e < EqBandCount; ++e) {
            image.setField(0, c, eqLevelField(e), (e % 3) * 2 - 2);
        }
    }
    for (auto _ : state) {
        image.setRedrawPending(1);
        benchmark::DoNotOptimize(view.redrawStep());
    }
    const QSize plot = view.plot()->backBufferSize();
    state.counters["plot_w"] = plot.width();
    state.counters["plot_h"] = plot.height();
}
BENCHMARK(BM_RedrawStep)->Unit(benchmark::kMillisecond);

}  // namespace
