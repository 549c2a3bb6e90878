#include "res/DialogTemplates.h"

namespace {

constexpr ControlRow rows[] = {
    {UnnamedControl, ControlKind::Static, "COM Port:", 7, 15, 50, 8, StyleRight},
    {1007, ControlKind::DropList, "", 66, 12, 49, 113, StyleVScroll | StyleGroup},
    {IdOk, ControlKind::DefaultButton, "&OK", 7, 42, 50, 14, StyleGroup},
    {IdCancel, ControlKind::Button, "&Abbrechen", 65, 42, 50, 14},
};

}  // namespace

const DialogTemplate comPortTemplate{ComPortTemplateId,  "COM Port",      122, 63,
                                     DialogFrame::Modal, "MS Sans Serif", 8,   rows};
