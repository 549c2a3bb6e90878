#pragma once
// Every command of the window, one row each: its id, where the menu shows
// it, its text and keys, the status-bar prompt, the handler that runs it,
// the rule that keeps its menu item and toolbar button up to date, and
// whether it changes the settings (and so is an undo step of its own).
//
// The menus are built from the rows in table order: a row names the menu it
// goes into ("&Datei", a submenu as "&Datei/&Exportieren"), and a menu or
// submenu takes its place where its first row stands. A command is added
// with one row and one handler (view/Commands.h).

#include <span>

class CSonaroView;
class QAction;

// Runs a command; `id` tells which of the ids sharing the handler.
using CommandRun = void (*)(CSonaroView& view, int id);
// Brings the action of a command up to date (enabled, checked, text). The
// action is enabled before the rule runs.
using CommandRule = void (*)(CSonaroView& view, int id, QAction& action);

struct Command {
    int id;
    const char* menu = nullptr;  // nullptr: in no menu (the form's buttons)
    bool separatorBefore = false;
    const char* text = nullptr;  // "&" marks the mnemonic
    // In QKeySequence's portable form ("Ctrl+N"); the menu shows the first
    // as "Strg+N". The second works without being shown.
    const char* shortcut = nullptr;
    const char* otherShortcut = nullptr;
    // The status-bar prompt, and after a "\n" the tooltip.
    const char* prompt = nullptr;
    // nullptr: the main frame's own command (its bars, exit, About).
    CommandRun run = nullptr;
    CommandRule rule = nullptr;  // nullptr: always enabled, state untouched
    bool changesSettings = false;
};

// The rows in menu order.
std::span<const Command> commands();
// The row of `id`, or nullptr.
const Command* findCommand(int id);

// Toolbar buttons left to right; 0 is a separator. The icon of a button is
// the one of its command id.
std::span<const int> toolbarButtons();
