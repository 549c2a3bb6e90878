#pragma once
// The colours of the six channels. A channel's curve in the response plot,
// its tab and its toolbar button share one colour, so that they can be matched
// at a glance.

#include <array>

#include "model/ParameterImage.h"
#include "plotmodel/PlotPalette.h"

// Channels 1..6 as designed; the plot moves each onto its colour table.
constexpr std::array<PaletteColour, ChannelCount> ChannelColours{{
    {255, 0, 0},
    {255, 255, 0},
    {0, 0, 255},
    {139, 35, 35},
    {0, 255, 255},
    {0, 255, 0},
}};

// The sums L and R: white and black, drawn SumCurveWidth pixels wide above
// the channels.
constexpr std::array<PaletteColour, 2> SumCurveColours{{{255, 255, 255}, {0, 0, 0}}};
constexpr int SumCurveWidth = 2;

// The contrast ratio of two colours as WCAG 2 defines it: the relative
// luminance of the lighter plus 0.05 over that of the darker plus 0.05; 1 for
// equal colours, 21 for black on white.
double contrastRatio(PaletteColour a, PaletteColour b);
// The least contrast a tab caption keeps against its fill (WCAG's minimum for
// large text and user-interface parts).
constexpr double MinimumCaptionContrast = 3.0;

// The owner-drawn channel tabs: filled with the channel's colour, the text of
// the selected tab in black or white, whichever reads on that fill. The other
// tabs' text is the designed light grey where it keeps MinimumCaptionContrast
// against the fill (blue, dark red), and the dark grey of the white tab on
// the light fills (red, yellow, cyan, green), where the grey could not be read.
struct ChannelTabColours {
    PaletteColour fill;
    PaletteColour selectedText;
    PaletteColour normalText;
};

// Tabs 0..5 in their channel's colour; any other index white with dark text.
ChannelTabColours channelTabColours(int index);
