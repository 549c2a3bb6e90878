#pragma once
// How the main form is worked with the keyboard: the order Tab walks, and
// the keys a field leaves to the window.

#include <array>

class CChannelTabCtrl;
class QKeyEvent;
class QRadioButton;
class QWidget;

// Tab goes from the plot to the channel tabs and the panel shown, the preset
// buttons, then receive and send, the two that act on the device, last.
void arrangeViewTabOrder(QWidget* plot, CChannelTabCtrl& tabs,
                         const std::array<QRadioButton*, 4>& presetButtons, QWidget* receive,
                         QWidget* send);

// Undo and redo in a panel's field undo the last change of the settings, not
// the last keystroke of the field: the window's shortcut takes these keys.
bool isWindowUndoKey(const QKeyEvent& key);
