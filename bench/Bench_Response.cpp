#include <benchmark/benchmark.h>

#include "model/ParameterImage.h"
#include "response/ChannelResponse.h"

namespace {

// A busy preset: every band in use (boosts and cuts, both shelves) and every
// filter type somewhere among the six channels' high- and low-passes.
ParameterImage busyImage() {
    ParameterImage image;
    applyDefaults(image);
    image.setActivePreset(1);
    for (int c = 0; c < ChannelCount; ++c) {
        ChannelRecord r = image.record(1, c);
        r.level = c - 3;
        r.hpType = (c + 1) % 10;  // 1..6
        r.lpType = (c + 6) % 10;  // 6..9, 0, 1
        r.hpFrequency = 30 + 40 * c;
        r.lpFrequency = 800 + 2500 * c;
        for (int e = 0; e < EqBandCount; ++e) {
            r.eq[e].level = (e % 2 == 0 ? 4 : -9) + c % 3;
            r.eq[e].q = 1 + (3 * e + c) % 20;
        }
        r.eq[4] = {200, 21 + c % 3, 3};  // low shelf
        r.eq[5] = {10000, 22, -4};       // high shelf
        image.setRecord(1, c, r);
    }
    return image;
}

void BM_ComputeResponses(benchmark::State& state) {
    const ParameterImage image = busyImage();
    ChannelResponses responses;
    for (auto _ : state) {
        computeResponses(image, responses);
        benchmark::DoNotOptimize(responses);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputeResponses)->Unit(benchmark::kMicrosecond);

}  // namespace
