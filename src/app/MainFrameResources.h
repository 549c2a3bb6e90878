#pragma once
// Resource 128 of the main frame as data: the menu with its German items, the
// accelerators that reach a handler, the toolbar buttons and the string table
// of command prompts.

#include <span>

// One menu entry; id 0 is a separator, or a submenu titled `text` when it
// has `submenu` items.
struct MenuItemRow {
    int id;
    const char* text;  // UTF-8, "&" marks the mnemonic, "\t" the shortcut text
    std::span<const MenuItemRow> submenu{};
};

struct MenuRow {
    const char* title;
    std::span<const MenuItemRow> items;
};

std::span<const MenuRow> mainMenu();

struct AcceleratorRow {
    int id;
    const char* key;  // in QKeySequence's portable form, e.g. "Ctrl+N"
};

// Only the keys with a handler; the table's other standard editing keys
// (Ctrl+C, F6 ...) have none and are left to the focused control. A command
// may have more than one key.
std::span<const AcceleratorRow> mainAccelerators();

// Toolbar buttons left to right; id 0 is a separator. The icon of a button
// is the one of its command id.
std::span<const int> mainToolbarButtons();

// The string-table entry of a command: the status-bar prompt, and after a
// "\n" the tooltip. nullptr for a command without a prompt.
const char* commandPrompt(int id);

// Application title in the string table, and the idle prompt of the status
// bar.
constexpr const char* ApplicationTitle = "Filtaro";
constexpr const char* IdlePrompt = "Bereit";

// Status-bar indicators: Caps Lock, Num Lock, Scroll Lock.
constexpr int IndicatorCaps = 59137;
constexpr int IndicatorNum = 59138;
constexpr int IndicatorScroll = 59139;
constexpr const char* IndicatorCapsText = "UF";
constexpr const char* IndicatorNumText = "NUM";
constexpr const char* IndicatorScrollText = "RF";
