#include "res/DialogTemplates.h"

namespace {

constexpr ControlRow rows[] = {
    {IdOk, ControlKind::DefaultButton, "OK", 7, 65, 50, 14, StyleGroup},
    {IdCancel, ControlKind::Button, "&Abbrechen", 65, 65, 50, 14},
    {UnnamedControl, ControlKind::Static, "Start Frequency:", 7, 17, 50, 8, StyleRight},
    {UnnamedControl, ControlKind::Static, "Ende:", 9, 39, 48, 8, StyleRight},
    {1168, ControlKind::Edit, "", 65, 14, 50, 14, StyleBorder | StyleAutoHScroll | StyleGroup},
    {1169, ControlKind::Edit, "", 65, 36, 50, 14, StyleBorder | StyleAutoHScroll},
};

}  // namespace

const DialogTemplate graphOptionsTemplate{GraphOptionsTemplateId, "Grafikoptionen", 122, 86,
                                          DialogFrame::Modal,     "MS Sans Serif",  8,   rows};
