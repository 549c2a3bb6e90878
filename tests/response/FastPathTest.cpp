// computeResponses() takes shortcuts (shared grid terms, whole-grid loops,
// skipping factors that are exactly 1). Its results must be the very bits of
// the formulas evaluated point by point, written out here independently.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <utility>

#include "TestRecords.h"
#include "response/ChannelResponse.h"
#include "response/ResponseKernel.h"

namespace {

float cabsPlain(float re, float im) {
    const float a = std::fabs(re), b = std::fabs(im);
    if (a == 0) return b;
    if (b == 0) return a;
    const float big = std::max(a, b), small = std::min(a, b);
    const float ratio = small / big;
    return static_cast<float>(big * std::sqrt(1.0 + static_cast<double>(ratio) * ratio));
}

double hp1(double f, double fc, double k) {
    const double w = fc / k;
    const double d = f * f + w * w;
    return cabsPlain(static_cast<float>(f * f / d), static_cast<float>(f * w / d));
}

double lp1(double f, double fc, double k) {
    const double w = fc * k;
    const double d = f * f + w * w;
    return cabsPlain(static_cast<float>(w * w / d), static_cast<float>(-(f * w) / d));
}

double hp2(double f, double f0, double q) {
    const double r = (f / f0) * (f / f0);
    return r / std::sqrt((1 - r) * (1 - r) + (f / (f0 * q)) * (f / (f0 * q)));
}

double lp2(double f, double f0, double q) {
    const double r = (f / f0) * (f / f0);
    return 1 / std::sqrt((1 - r) * (1 - r) + (f / (f0 * q)) * (f / (f0 * q)));
}

double highPass(double f, double fc, int type) {
    switch (type) {
        case 1:
            return hp1(f, fc, 1);
        case 2:
            return hp2(f, fc, 0.71);
        case 3:
            return hp2(f, fc, 1.0) * hp1(f, fc, 1);
        case 4:
            return hp2(f, 0.997 * fc, 0.54) * hp2(f, fc, 1.31);
        case 5:
            return hp2(f, 0.791 * fc, 0.58);
        case 6:
            return hp2(f, 0.69 * fc, 0.69) * hp1(f, fc, 1.323);
        case 7:
            return hp2(f, 0.695 * fc, 0.52) * hp2(f, 0.626 * fc, 0.81);
        case 8:
            return hp1(f, fc, 1) * hp1(f, fc, 1);
        case 9:
            return hp2(f, fc, 0.71) * hp2(f, fc, 0.71);
        default:
            return 1;
    }
}

double lowPass(double f, double fc, int type) {
    switch (type) {
        case 1:
            return lp1(f, fc, 1);
        case 2:
            return lp2(f, fc, 0.71);
        case 3:
            return lp2(f, fc, 1.0) * lp1(f, fc, 1);
        case 4:
            return lp2(f, fc, 0.54) * lp2(f, fc, 1.31);
        case 5:
            return lp2(f, 1.26 * fc, 0.58);
        case 6:
            return lp2(f, 1.446 * fc, 0.69) * lp1(f, fc, 1.323);
        case 7:
            return lp2(f, 1.44 * fc, 0.52) * lp2(f, 1.6 * fc, 0.81);
        case 8:
            return lp1(f, fc, 1) * lp1(f, fc, 1);
        case 9:
            return lp2(f, fc, 0.71) * lp2(f, fc, 0.71);
        default:
            return 1;
    }
}

double band(double f, double f0, double code, double gain, int e) {
    const double g = std::pow(10.0, gain / 20) - 1;
    double re, im;
    if (code <= 20) {
        const double q = code / 2;
        const double a = f * f0 / q;
        const double d = (f0 * f0 - f * f) * (f0 * f0 - f * f) + a * a;
        re = 1 + g * (a * a) / d;
        im = g * a * (f0 * f0 - f * f) / d;
    } else {
        const double q = code == 21 ? 0.3 : code == 22 ? 0.5 : code == 23 ? 0.7 : code;
        const double a = f * f0 / q;
        const double d = (f * f - f0 * f0) * (f * f - f0 * f0) + a * a;
        const double n = e == 5 ? f * f : -(f0 * f0);
        re = 1 + g * n * (f * f - f0 * f0) / d;
        im = g * n * a / d;
    }
    return cabsPlain(static_cast<float>(re), static_cast<float>(im));
}

float plainDb(double f, const ChannelRecord& r) {
    double m = band(f, r.eq[0].frequency, r.eq[0].q, r.eq[0].level, 0);
    for (int e = 1; e < 6; ++e) m *= band(f, r.eq[e].frequency, r.eq[e].q, r.eq[e].level, e);
    m *= highPass(f, r.hpFrequency, r.hpType);
    m *= lowPass(f, r.lpFrequency, r.lpType);
    const double db = m > 0 ? 20 * std::log10(m) : 0;
    return static_cast<float>(db + r.level);
}

void expectSameBits(const std::array<float, ResponsePointCount>& got,
                    const std::array<float, ResponsePointCount>& expected, const char* path,
                    int round, int channel) {
    for (int j = 0; j < ResponsePointCount; ++j) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(got[j]), std::bit_cast<std::uint32_t>(expected[j]))
            << path << ", round " << round << ", channel " << channel << ", point " << j << ": "
            << got[j] << " vs " << expected[j];
    }
}

// Every vector width this processor has, and computeResponses() itself.
TEST(FastPath, BitIdenticalToThePlainFormulasOnRandomRecords) {
    std::mt19937 rng(20240611);
    const ResponseGrid grid;
    ChannelResponses responses;
    std::array<float, ResponsePointCount> expected;
    std::array<float, ResponsePointCount> variant;
    const std::pair<KernelIsa, const char*> isas[] = {{KernelIsa::Portable, "portable"},
                                                      {KernelIsa::Avx2, "AVX2"},
                                                      {KernelIsa::Avx512, "AVX-512"}};
    for (int round = 0; round < 60; ++round) {
        ParameterImage image;
        const int preset = round % PresetCount;
        image.setActivePreset(preset);
        for (int c = 0; c < ChannelCount; ++c) image.setRecord(preset, c, randomRecord(rng));
        computeResponses(image, responses);
        for (int c = 0; c < ChannelCount; ++c) {
            const ChannelRecord r = image.record(preset, c);
            for (int j = 0; j < ResponsePointCount; ++j) expected[j] = plainDb(grid[j], r);
            expectSameBits(responses[c].db, expected, "computeResponses", round, c);
            for (const auto& [isa, name] : isas) {
                if (!kernelIsaAvailable(isa)) continue;
                channelResponseDb(r, gridTerms(), variant, isa);
                expectSameBits(variant, expected, name, round, c);
            }
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
