#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "interchange/FilterImport.h"
#include "model/ParameterImage.h"

namespace {

ChannelRecord defaultRecord() {
    ParameterImage image;
    applyDefaults(image);
    return image.record(0, 0);
}

// About 14 MB of peaking filters, as a careless script or a pasted log
// would produce them: the import must stay linear in the size of the text.
const std::string& largeFilterText() {
    static const std::string text = [] {
        std::string t;
        t.reserve(std::size_t{15} << 20);
        char line[96];
        for (int i = 0; t.size() < (std::size_t{14} << 20); ++i) {
            std::snprintf(line, sizeof line, "Filter %d: ON PK Fc %d Hz Gain %.1f dB Q %.2f\n",
                          i + 1, 20 + (i * 37) % 19000, -12.0 + (i % 180) / 10.0,
                          0.5 + (i % 90) / 10.0);
            t += line;
        }
        return t;
    }();
    return text;
}

// 200,000 "Channel:" blocks of one filter each, the last one chosen.
const std::string& manyBlocksText() {
    static const std::string text = [] {
        std::string t;
        for (int i = 0; i < 200000; ++i) {
            t += "Channel: B" + std::to_string(i) + "\nFilter: ON PK Fc 1000 Hz Gain -3 dB Q 2\n";
        }
        return t;
    }();
    return text;
}

// A typical result of an automatic headphone equaliser: a preamp, two
// shelves and eight peaking filters.
constexpr const char* TypicalText =
    "Preamp: -6.4 dB\n"
    "Filter 1: ON LSC Fc 105 Hz Gain 5.8 dB Q 0.70\n"
    "Filter 2: ON PK Fc 62 Hz Gain -1.4 dB Q 0.44\n"
    "Filter 3: ON PK Fc 2285 Hz Gain 4.6 dB Q 2.13\n"
    "Filter 4: ON PK Fc 3513 Hz Gain -2.9 dB Q 3.55\n"
    "Filter 5: ON PK Fc 5288 Hz Gain 3.3 dB Q 2.90\n"
    "Filter 6: ON PK Fc 6386 Hz Gain -2.2 dB Q 2.22\n"
    "Filter 7: ON PK Fc 1256 Hz Gain -1.4 dB Q 1.41\n"
    "Filter 8: ON PK Fc 8412 Hz Gain 1.8 dB Q 4.69\n"
    "Filter 9: ON PK Fc 411 Hz Gain -0.6 dB Q 1.06\n"
    "Filter 10: ON HSC Fc 10000 Hz Gain -6.6 dB Q 0.70\n";

void BM_ImportLargeFilterText(benchmark::State& state) {
    const std::string& text = largeFilterText();
    const ChannelRecord current = defaultRecord();
    for (auto _ : state) {
        const FilterImport r = importFilterText(text, current, 0);
        benchmark::DoNotOptimize(r.report.record);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
}
BENCHMARK(BM_ImportLargeFilterText)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportManyChannelBlocks(benchmark::State& state) {
    const std::string& text = manyBlocksText();
    const ChannelRecord current = defaultRecord();
    for (auto _ : state) {
        const FilterImport r = importFilterText(text, current, 0, "B199999");
        benchmark::DoNotOptimize(r.report.record);
    }
}
BENCHMARK(BM_ImportManyChannelBlocks)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ImportTypicalFilterText(benchmark::State& state) {
    const ChannelRecord current = defaultRecord();
    for (auto _ : state) {
        const FilterImport r = importFilterText(TypicalText, current, 0);
        benchmark::DoNotOptimize(r.report.record);
    }
}
BENCHMARK(BM_ImportTypicalFilterText)->Unit(benchmark::kMicrosecond);

}  // namespace
