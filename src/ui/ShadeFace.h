#pragma once
// The computed faces of a shaded button: an 8-bit indexed picture of the
// button's size with a 256-entry palette running from the shadow colour
// through the face colour to the highlight colour. The picture is a vertical
// ramp with a cubic profile (dark at the bottom, light at the top), curved
// darker and lighter ends, and noise from the C library's rand(). Plain C++ so
// that the exact pixels can be pinned by a test with a fixed seed.

#include <array>
#include <cstdint>
#include <vector>

struct ShadeColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const ShadeColour&, const ShadeColour&) = default;
};

// A palette entry in the order of a device-independent bitmap's colour table.
struct ShadeQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const ShadeQuad&, const ShadeQuad&) = default;
};

constexpr int ShadePaletteSize = 256;
using ShadePalette = std::array<ShadeQuad, ShadePaletteSize>;

struct ShadeParams {
    int type = 7;         // only type 7 exists; every value draws it
    int granularity = 8;  // noise of plus or minus this much; <= 0 means none
    int highlight = 10;   // per cent the mouse-over face moves towards highlight
    int tint = 0;         // per cent both faces move towards tintColour (capped at 100)
    ShadeColour tintColour{};
    ShadeColour shadow{128, 128, 128};           // the system's button shadow colour
    ShadeColour face{212, 208, 200};             // button face
    ShadeColour highlightColour{255, 255, 255};  // button highlight
};

struct ShadeFace {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per row, a multiple of 4
    // stride * height palette indices, bottom row first (as the bitmap is
    // stored); padding bytes are 0.
    std::vector<std::uint8_t> pixels;
    ShadePalette palette{};

    // Index of pixel x of row y, y counted from the bottom row.
    std::uint8_t index(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * stride + x];
    }
    ShadeColour colour(int x, int y) const {
        const ShadeQuad& q = palette[index(x, y)];
        return {q.red, q.green, q.blue};
    }
};

struct ShadeFaces {
    ShadeFace normal;
    ShadeFace hover;  // same pixels, palette moved towards the highlight colour
};

// The palette: entries 0..128 from shadow to face, 128..255 from face to
// highlight (the second ramp overwrites entry 128).
ShadePalette shadePalette(ShadeColour shadow, ShadeColour face, ShadeColour highlight);
// Moves every entry towards `to` by `percent` (capped to 0..100).
void tintPalette(ShadePalette& palette, ShadeColour to, int percent);

// Both faces for a button of width x height pixels (each at least 1). Draws
// two rand() values per pixel, row by row from the bottom, left to right.
ShadeFaces buildShadeFaces(int width, int height, const ShadeParams& params);

// rand() scaled to 0..32767, the generator range the noise formula was
// written for; on a library whose RAND_MAX is 32767 this is rand() itself.
int rand15();
