#pragma once
// The program's pictures by resource id (see ResourceIds.h): the program icon,
// the send and receive icons, the welcome box's bitmaps and the toolbar's
// 16 x 15 buttons. All are drawn in code, once per pixel ratio, and cached.
// On a screen with more than one device pixel per logical pixel (a 2x screen,
// QT_SCALE_FACTOR) each is drawn at that density, so it stays sharp at its
// logical size.

#include <QIcon>
#include <QPixmap>
#include <array>

// The pixel ratios an icon carries a picture for.
constexpr std::array<qreal, 5> IconPixelRatios{1.0, 1.25, 1.5, 2.0, 3.0};

// The picture of resource `id` at its resource size in logical pixels, drawn
// for `dpr` device pixels per logical pixel; a null pixmap for an unknown id.
QPixmap resourcePixmap(int id, qreal dpr = 1.0);
// Icons (program, send, receive) with all their sizes and pixel ratios.
QIcon resourceIcon(int id);
// The program icon drawn for exactly `pixels` x `pixels` (the desktop's
// icon files and the Windows .ico are made of these).
QImage programIconImage(int pixels);

// Toolbar buttons, left to right without the separators: New, Open, Save,
// the six channel toggles (channel 1..6), Undo, Redo and the toggle of the
// sums L and R (a swatch half white, half black, the sums' colours, with a
// sum sign).
constexpr int ToolbarButtonCount = 12;
constexpr int ToolbarButtonWidth = 16;
constexpr int ToolbarButtonHeight = 15;
// Button `index` of the toolbar bitmap; null for an index outside 0..11.
QPixmap toolbarButtonPixmap(int index, qreal dpr = 1.0);
// The same as an icon for every pixel ratio.
QIcon toolbarButtonIcon(int index);
