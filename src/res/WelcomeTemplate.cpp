#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

namespace {

// Picture statics take the size of their bitmap (165: 300 x 96 pixels,
// 161: 120 x 20 pixels); w and h here are those sizes in dialog units.
constexpr ControlRow rows[] = {
    {UnnamedControl, ControlKind::Static, "Willkommen bei", 7, 10, 200, 8, StyleCenter},
    {UnnamedControl, ControlKind::Picture, "", 7, 24, 200, 59, StyleNone, WelcomeBitmapId},
    {UnnamedControl, ControlKind::Picture, "", 70, 88, 80, 12, StyleNone, WelcomeLogoBitmapId},
    {UnnamedControl, ControlKind::Static, "Version 2.01", 7, 105, 200, 11, StyleCenter},
    {1016, ControlKind::Static, "", 7, 119, 200, 8, StyleCenter},
    {IdOk, ControlKind::DefaultButton, "OK", 86, 139, 50, 14, StyleGroup},
};

}  // namespace

const DialogTemplate welcomeTemplate{WelcomeTemplateId,  "Filtaro",       214, 160,
                                     DialogFrame::Modal, "MS Sans Serif", 8,   rows};
