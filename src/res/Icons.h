#pragma once
// The program's pictures by resource id (see ResourceIds.h): the program icon,
// the send and receive icons, the welcome box's bitmaps and the toolbar's
// 16 x 15 buttons. All are drawn in code, once, and cached.

#include <QIcon>
#include <QPixmap>

// The picture of resource `id` at its resource size; a null pixmap for an
// unknown id.
QPixmap resourcePixmap(int id);
// Icons (program, send, receive) with all their sizes.
QIcon resourceIcon(int id);

// Toolbar buttons, left to right without the separator: New, Open, Save and
// the six channel toggles (channel 1..6).
constexpr int ToolbarButtonCount = 9;
constexpr int ToolbarButtonWidth = 16;
constexpr int ToolbarButtonHeight = 15;
// Button `index` of the toolbar bitmap; null for an index outside 0..8.
QPixmap toolbarButtonPixmap(int index);

// The toolbar's toggle of the sums L and R: a swatch half white, half black
// (the sums' colours) with a sum sign, in the channel toggles' style.
QPixmap sumsButtonPixmap();
