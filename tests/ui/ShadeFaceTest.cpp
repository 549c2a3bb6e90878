#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "ui/ShadeFace.h"

namespace {

const ShadeColour Shadow{128, 128, 128};
const ShadeColour Face{212, 208, 200};
const ShadeColour Light{255, 255, 255};

ShadeQuad quad(int r, int g, int b) {
    return {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
            static_cast<std::uint8_t>(r), 0};
}

TEST(ShadePalette, RampsFromShadowThroughFaceToHighlight) {
    const ShadePalette p = shadePalette(Shadow, Face, Light);
    EXPECT_EQ(p[0], quad(128, 128, 128));
    EXPECT_EQ(p[64], quad(170, 168, 164));   // (128 + face) / 2
    EXPECT_EQ(p[127], quad(211, 207, 199));  // (128 + 127 face) / 128, truncated
    // Entry 128 comes from the second ramp (i = 1), not the first (= face).
    EXPECT_EQ(p[128], quad(212, 208, 200));
    EXPECT_EQ(p[129], quad(212, 208, 200));  // (126 face + 2 light) / 128, truncated
    EXPECT_EQ(p[191], quad(233, 231, 227));  // (face + light) / 2, truncated
    EXPECT_EQ(p[255], quad(255, 255, 255));
    const ShadePalette q = shadePalette({0, 0, 0}, {128, 0, 0}, {255, 0, 0});
    EXPECT_EQ(q[128].red, 128);  // (127 * 128 + 255) / 128 = 128.99
}

TEST(ShadePalette, TintMovesEveryEntryByTheAmountCappedAtAHundred) {
    ShadePalette p = shadePalette(Shadow, Face, Light);
    ShadePalette unchanged = p;
    tintPalette(unchanged, {0, 0, 0}, 0);
    EXPECT_EQ(unchanged, p);

    ShadePalette hover = p;
    tintPalette(hover, Light, 10);
    EXPECT_EQ(hover[0], quad(140, 140, 140));   // (128*90 + 255*10) / 100 = 140.7
    EXPECT_EQ(hover[64], quad(178, 176, 173));  // 170 -> 178.5, 168 -> 176.7, 164 -> 173.1
    EXPECT_EQ(hover[255], quad(255, 255, 255));

    ShadePalette dark = p;
    tintPalette(dark, {0, 0, 0}, 50);
    EXPECT_EQ(dark[255], quad(127, 127, 127));
    ShadePalette capped = p;
    tintPalette(capped, {10, 20, 30}, 250);
    EXPECT_EQ(capped[77], quad(10, 20, 30));
}

TEST(ShadeFace, Rand15IsTheGeneratorScaledToFifteenBits) {
    std::srand(5);
    const long long raw = std::rand();
    std::srand(5);
    EXPECT_EQ(rand15(), raw * 32768 / (static_cast<long long>(RAND_MAX) + 1));
    for (int i = 0; i < 1000; ++i) {
        const int v = rand15();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
}

// The 83 x 55 face of the main view's buttons with granularity 8, pinned
// with seed 1. Values without noise are worked out from the formulas by
// hand; the noise terms come from the same generator sequence.
class ShadeFacePin : public ::testing::Test {
protected:
    static constexpr int W = 83;
    static constexpr int H = 55;

    void SetUp() override {
        std::srand(1);
        ShadeParams params;  // g 8, highlight 10, no tint
        params.shadow = Shadow;
        params.face = Face;
        params.highlightColour = Light;
        faces = buildShadeFaces(W, H, params);
        std::srand(1);
        for (int i = 0; i < 2 * W * H; ++i) {
            draws.push_back(rand15() / (32767 / 16));  // r = rand() / (32767 / 2g)
        }
    }
    int bodyNoise(int x, int y) const { return draws[y * W + x]; }
    int finalNoise(int x, int y) const { return draws[W * H + y * W + x]; }
    // The pixel from its noiseless value: both noise terms are -g + r.
    int expected(int x, int y, int base, bool end) const {
        const int body = base - 8 + bodyNoise(x, y);
        return (end ? base : body) - 8 + finalNoise(x, y);
    }

    ShadeFaces faces;
    std::vector<int> draws;
};

TEST_F(ShadeFacePin, SizeAndPadding) {
    const ShadeFace& f = faces.normal;
    EXPECT_EQ(f.width, W);
    EXPECT_EQ(f.height, H);
    EXPECT_EQ(f.stride, 84);
    ASSERT_EQ(f.pixels.size(), 84u * 55u);
    for (int y = 0; y < H; ++y) {
        EXPECT_EQ(f.pixels[y * 84 + 83], 0) << "padding of row " << y;
    }
}

TEST_F(ShadeFacePin, CubicRampDarkAtTheBottomLightAtTheTop) {
    const ShadeFace& f = faces.normal;
    // Bottom row: o = -127, c = -125, base = 112 * -125 / 128 + 128 = 19.
    for (int x : {1, 20, 41, 60, 81}) {
        EXPECT_EQ(f.index(x, 0), expected(x, 0, 19, false)) << x;
    }
    // Middle row 27: o = -2, c = 0, base = 128.
    for (int x : {13, 30, 41, 55, 69}) {
        EXPECT_EQ(f.index(x, 27), expected(x, 27, 128, false)) << x;
    }
    // Top row 54: o = 123, c = 113, base = 98 + 128 = 226.
    for (int x : {2, 41, 80}) {
        EXPECT_EQ(f.index(x, 54), expected(x, 54, 226, false)) << x;
    }
    // Row 10: o = 46 - 127 = -81, c = -32, base = -28 + 128 = 100.
    EXPECT_EQ(f.index(40, 10), expected(40, 10, 100, false));
}

TEST_F(ShadeFacePin, CurvedEndsDarkenRightAndLightenLeft) {
    const ShadeFace& f = faces.normal;
    // E = 13, k = 756. Middle row: dy = 0, t = 41 - 13 = 28; the right end is
    // x >= 70, the left end x <= 12.
    EXPECT_EQ(f.index(82, 27), expected(82, 27, 1 * 128 / 13 + 8, true));   // 17
    EXPECT_EQ(f.index(70, 27), expected(70, 27, 13 * 128 / 13 + 8, true));  // 136
    EXPECT_EQ(f.index(0, 27), expected(0, 27, 247, true));
    EXPECT_EQ(f.index(12, 27), expected(12, 27, 247 - 12 * 128 / 13, true));  // 129
    // Bottom row: dy = -27, t = 41 + 12 - 13 = 40: only x 82 and x 0 are ends.
    EXPECT_EQ(f.index(82, 0), expected(82, 0, 17, true));
    EXPECT_EQ(f.index(81, 0), expected(81, 0, 19, false));
    EXPECT_EQ(f.index(0, 0), expected(0, 0, 247, true));
    // Row 40: dy = 13, 169 * 13 / 756 = 2, t = 30: right end from x 72.
    EXPECT_EQ(f.index(71, 40), expected(71, 40, 128 + 112 * 11 / 128 - 0, false));
    EXPECT_EQ(f.index(72, 40), expected(72, 40, 11 * 128 / 13 + 8, true));
}

TEST_F(ShadeFacePin, HoverFaceHasTheSamePixelsAndALighterPalette) {
    EXPECT_EQ(faces.hover.pixels, faces.normal.pixels);
    EXPECT_EQ(faces.hover.palette[0], quad(140, 140, 140));
    EXPECT_EQ(faces.normal.palette[0], quad(128, 128, 128));
}

TEST(ShadeFace, DegenerateSizesAndGranularityDoNotDivideByZero) {
    ShadeParams params;
    params.granularity = 0;  // no noise at all: every pixel is the ramp itself
    const ShadeFaces tiny = buildShadeFaces(5, 1, params);  // E = 0 and k = 0
    EXPECT_EQ(tiny.normal.stride, 8);
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(tiny.normal.index(x, 0), 128 - 125);  // o -127, c -125
    }
    const ShadeFaces empty = buildShadeFaces(0, -3, ShadeParams{});
    EXPECT_EQ(empty.normal.width, 1);
    EXPECT_EQ(empty.normal.height, 1);
    EXPECT_EQ(empty.normal.stride, 4);

    params.granularity = 1000;  // capped; every index stays a palette index
    const ShadeFaces wild = buildShadeFaces(40, 30, params);
    EXPECT_EQ(wild.normal.pixels.size(), 40u * 30u);
}

}  // namespace
