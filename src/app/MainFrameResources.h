#pragma once
// The main frame's own texts of resource 128: the application title, the
// idle prompt and the lock indicators of the status bar. The menus, keys,
// toolbar buttons and prompts of the commands are rows of
// view/CommandTable.cpp.

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
