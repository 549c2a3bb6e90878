#include "ui/ShadeFace.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::uint8_t mix(int a, int b, int wa, int wb, int total) {
    return static_cast<std::uint8_t>((wa * a + wb * b) / total);
}

ShadeQuad ramp(ShadeColour from, ShadeColour to, int i) {
    return {mix(from.blue, to.blue, 128 - i, i, 128), mix(from.green, to.green, 128 - i, i, 128),
            mix(from.red, to.red, 128 - i, i, 128), 0};
}

std::uint8_t toIndex(long long v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0LL, 255LL));
}

// The noise term r: 0..2g from one generator value.
int noise(int g) {
    if (g <= 0) {
        return 0;
    }
    const int divisor = std::max(1, 32767 / (2 * g));
    return rand15() / divisor;
}

}  // namespace

int rand15() {
    const long long value = std::rand();
    return static_cast<int>(value * 32768 / (static_cast<long long>(RAND_MAX) + 1));
}

ShadePalette shadePalette(ShadeColour shadow, ShadeColour face, ShadeColour highlight) {
    ShadePalette palette{};
    for (int i = 0; i <= 128; ++i) {
        palette[i] = ramp(shadow, face, i);
    }
    for (int i = 1; i <= 128; ++i) {
        palette[127 + i] = ramp(face, highlight, i);
    }
    return palette;
}

void tintPalette(ShadePalette& palette, ShadeColour to, int percent) {
    const int p = std::clamp(percent, 0, 100);
    if (p == 0) {
        return;
    }
    for (ShadeQuad& q : palette) {
        q.red = mix(q.red, to.red, 100 - p, p, 100);
        q.green = mix(q.green, to.green, 100 - p, p, 100);
        q.blue = mix(q.blue, to.blue, 100 - p, p, 100);
    }
}

ShadeFaces buildShadeFaces(int width, int height, const ShadeParams& params) {
    const int W = std::max(1, width);
    const int H = std::max(1, height);
    // A granularity beyond 64 would turn the ramp upside down and overflow
    // the palette; 0 or less means a face without noise.
    const int g = std::min(params.granularity, 64);
    const int gn = std::max(0, g);

    ShadeFace face;
    face.width = W;
    face.height = H;
    face.stride = (W + 3) / 4 * 4;
    face.pixels.assign(static_cast<std::size_t>(face.stride) * H, 0);
    face.palette = shadePalette(params.shadow, params.face, params.highlightColour);
    tintPalette(face.palette, params.tintColour, params.tint);

    // Body: a cubic ramp from dark (bottom) to light (top) with noise.
    for (int y = 0; y < H; ++y) {
        const long long o = static_cast<long long>(y) * 255 / H - 127;
        const long long c = o * o * o / 16384;
        const long long base = (128 - 2 * gn) * c / 128 + 128;
        std::uint8_t* row = face.pixels.data() + static_cast<std::size_t>(y) * face.stride;
        for (int x = 0; x < W; ++x) {
            row[x] = toIndex(base - gn + noise(gn));
        }
    }

    // Curved ends; a button narrower than 6 pixels or 1 pixel high has none
    // (the formulas would divide by zero).
    const long long E = std::min(W / 6, 16);
    const long long k = static_cast<long long>(H) * H / 4;
    for (int y = 0; y < H; ++y) {
        std::uint8_t* row = face.pixels.data() + static_cast<std::size_t>(y) * face.stride;
        const long long dy = y - H / 2;
        for (int x = 0; x < W; ++x) {
            long long v = row[x];
            if (E > 0 && k > 0) {
                const long long dx = x - W / 2;
                const long long t = W / 2 + dy * dy * E / k - E;
                if (t < dx) {
                    v = (W - x) * 128 / E + gn;
                } else if (dx + t < 0) {
                    v = (255 - gn) - x * 128 / E;
                }
            }
            row[x] = toIndex(v - gn + noise(gn));
        }
    }

    ShadeFaces faces{face, face};
    tintPalette(faces.hover.palette, params.highlightColour, params.highlight);
    return faces;
}
