#include <benchmark/benchmark.h>

#include <memory>

#include "model/ParameterImage.h"
#include "response/ChannelResponse.h"
#include "response/ComplexResponse.h"

namespace {

// A busy preset: every band in use (boosts and cuts, both shelves), every
// filter type somewhere among the six channels' high- and low-passes, every
// channel delayed, and both sides fed (L, R, L+R).
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
        r.input = c % 3;
        r.delayTaps = 3 + 40 * c;
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

// Magnitude, phase and group delay of the six channels and both sums.
void BM_ComplexResponses(benchmark::State& state) {
    const ParameterImage image = busyImage();
    const auto responses = std::make_unique<ComplexResponses>();
    for (auto _ : state) {
        computeComplexResponses(image, *responses);
        benchmark::DoNotOptimize(responses.get());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComplexResponses)->Unit(benchmark::kMicrosecond);

}  // namespace
