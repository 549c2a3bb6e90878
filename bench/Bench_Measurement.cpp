#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "interchange/Measurement.h"
#include "plotmodel/MeasurementReduce.h"
#include "storage/TextFile.h"

namespace {

constexpr int PointCount = 1000000;

// A REW text export of a million points from 2 Hz to 24 kHz, written once
// into a temporary file that is removed when the benchmark ends.
class MeasurementFile {
public:
    MeasurementFile()
        : m_path((std::filesystem::temp_directory_path() /
                  ("filtaro-bench-measurement-" + std::to_string(std::random_device{}()) + ".txt"))
                     .string()) {
        std::string text =
            "* Measurement data measured by REW V5.20\n"
            "* Freq(Hz), SPL(dB), Phase(degrees)\n";
        text.reserve(static_cast<std::size_t>(PointCount) * 40);
        char line[96];
        for (int i = 0; i < PointCount; ++i) {
            const double f = 2.0 * std::pow(12000.0, static_cast<double>(i) / (PointCount - 1));
            std::snprintf(line, sizeof line, "%.6f, %.3f, %.2f\n", f,
                          75.0 + 5.0 * std::sin(f / 300.0), std::fmod(f, 360.0) - 180.0);
            text += line;
        }
        writeTextFile(m_path, text);
    }
    ~MeasurementFile() { std::filesystem::remove(m_path); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

void BM_LoadMeasurementMillionPoints(benchmark::State& state) {
    static const MeasurementFile file;
    for (auto _ : state) {
        const auto text = readTextFile(file.path(), MeasurementFileLimit);
        const MeasurementRead r = parseMeasurement(*text);
        if (!r.ok || r.measurement.frequencies.size() != PointCount) {
            state.SkipWithError("measurement not read");
            break;
        }
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * PointCount);
}
BENCHMARK(BM_LoadMeasurementMillionPoints)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Thinning a loaded million points for drawing (once per load).
void BM_ReduceMeasurementMillionPoints(benchmark::State& state) {
    Measurement m;
    for (int i = 0; i < PointCount; ++i) {
        const double f = 2.0 * std::pow(12000.0, static_cast<double>(i) / (PointCount - 1));
        m.frequencies.push_back(f);
        m.db.push_back(75.0 + 5.0 * std::sin(f / 300.0));
        m.phaseDegrees.push_back(std::fmod(f, 360.0) - 180.0);
    }
    for (auto _ : state) {
        const Measurement r = reducedMeasurement(m);
        benchmark::DoNotOptimize(r.db.data());
        state.counters["kept"] = static_cast<double>(r.frequencies.size());
    }
    state.SetItemsProcessed(state.iterations() * PointCount);
}
BENCHMARK(BM_ReduceMeasurementMillionPoints)->Unit(benchmark::kMillisecond);

}  // namespace
