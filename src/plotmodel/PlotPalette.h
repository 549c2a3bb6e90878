#pragma once
// The plot's 256-entry colour table: 32 fixed entries (0..15, 240..255) and
// a ramp 16..239 from black through red and yellow to white. The plot was
// designed for a 256-colour back buffer, where every drawing colour lands on
// the nearest entry of this table; the drawing keeps that rule so the plot
// shows the same colours on any display.

#include <array>
#include <cstdint>

struct PaletteColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

constexpr int PlotPaletteSize = 256;
// The back buffer's initial colour (black).
constexpr int PlotPaletteInitialIndex = 16;

using PlotPalette = std::array<PaletteColour, PlotPaletteSize>;

PlotPalette buildPlotPalette();

// The entry closest to (red, green, blue) in RGB distance; the lowest index
// wins a tie.
int nearestPaletteIndex(const PlotPalette& palette, PaletteColour colour);
