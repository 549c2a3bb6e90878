#pragma once
// The program's dialog templates by resource id. Each table lives in its own
// small file (AboutTemplate.cpp, MainFormTemplate.cpp, ...).

#include "res/DialogTemplate.h"

constexpr int AboutTemplateId = 100;         // "Info über Filtaro"
constexpr int MainFormTemplateId = 101;      // the main view's form
constexpr int ComPortTemplateId = 132;       // "COM Port"
constexpr int ChannelPanelTemplateId = 150;  // one channel's parameter panel
constexpr int WelcomeTemplateId = 156;       // welcome box
constexpr int CopyChannelTemplateId = 166;   // "Kanaldaten kopieren"
constexpr int GraphOptionsTemplateId = 177;  // "Grafikoptionen"
constexpr int CopyPresetTemplateId = 185;    // "Presetdaten kopieren"

extern const DialogTemplate aboutTemplate;
extern const DialogTemplate mainFormTemplate;
extern const DialogTemplate comPortTemplate;
extern const DialogTemplate channelPanelTemplate;
extern const DialogTemplate welcomeTemplate;
extern const DialogTemplate copyChannelTemplate;
extern const DialogTemplate graphOptionsTemplate;
extern const DialogTemplate copyPresetTemplate;

// The template with this resource id, or nullptr.
const DialogTemplate* findDialogTemplate(int id);
