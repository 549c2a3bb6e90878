#pragma once
// Colours of the owner-drawn channel tabs: each tab is filled with the colour
// of its channel's curve in the response plot, so tab and curve can be matched
// at a glance. The text of the selected tab sits higher than the others' by
// the height of a sunken 3-D edge.

#include "response/PlotPalette.h"

struct ChannelTabColours {
    PaletteColour fill;
    PaletteColour selectedText;
    PaletteColour normalText;
};

// Tabs 0..5 in their channel's colour; any other index white with dark text.
ChannelTabColours channelTabColours(int index);

// Height of a sunken 3-D edge at 96 dpi, by which the selected tab's text is raised.
constexpr int TabEdgeHeight = 2;
