#include "res/DialogTemplates.h"

namespace {

constexpr ControlRow rows[] = {
    {UnnamedControl, ControlKind::GroupBox, "Quellpreset", 7, 7, 59, 90},
    {1069, ControlKind::Radio, "Preset 1", 16, 26, 42, 10, StyleGroup},
    {1070, ControlKind::Radio, "Preset 2", 16, 43, 42, 10},
    {1071, ControlKind::Radio, "Preset 3", 16, 60, 42, 10},
    {1072, ControlKind::Radio, "Preset 4", 16, 77, 42, 10},
    {UnnamedControl, ControlKind::GroupBox, "Zielpreset", 83, 7, 59, 90, StyleGroup},
    {1075, ControlKind::Radio, "Preset 1", 92, 26, 42, 10, StyleGroup},
    {1076, ControlKind::Radio, "Preset 2", 92, 43, 42, 10},
    {1077, ControlKind::Radio, "Preset 3", 92, 60, 42, 10},
    {1078, ControlKind::Radio, "Preset 4", 92, 77, 42, 10},
    {IdOk, ControlKind::DefaultButton, "Kopieren", 12, 103, 50, 14, StyleGroup},
    {IdCancel, ControlKind::Button, "Schließen", 87, 103, 50, 14},
};

}  // namespace

const DialogTemplate copyPresetTemplate{CopyPresetTemplateId, "Presetdaten kopieren", 149, 124,
                                        DialogFrame::Modal,   "MS Sans Serif",        8,   rows};
