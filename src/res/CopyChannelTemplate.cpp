#include "res/DialogTemplates.h"

namespace {

constexpr ControlRow rows[] = {
    {UnnamedControl, ControlKind::GroupBox, "Quellkanal", 7, 7, 59, 123},
    {1069, ControlKind::Radio, "Kanal 1", 16, 26, 40, 10, StyleGroup},
    {1070, ControlKind::Radio, "Kanal 2", 16, 43, 40, 10},
    {1071, ControlKind::Radio, "Kanal 3", 16, 60, 40, 10},
    {1072, ControlKind::Radio, "Kanal 4", 16, 77, 40, 10},
    {1073, ControlKind::Radio, "Kanal 5", 16, 94, 40, 10},
    {1074, ControlKind::Radio, "Kanal 6", 16, 111, 40, 10},
    {UnnamedControl, ControlKind::GroupBox, "Zielkanal", 83, 7, 59, 123, StyleGroup},
    {1075, ControlKind::Radio, "Kanal 1", 92, 26, 40, 10, StyleGroup},
    {1076, ControlKind::Radio, "Kanal 2", 92, 43, 40, 10},
    {1077, ControlKind::Radio, "Kanal 3", 92, 60, 40, 10},
    {1078, ControlKind::Radio, "Kanal 4", 92, 77, 40, 10},
    {1079, ControlKind::Radio, "Kanal 5", 92, 94, 40, 10},
    {1080, ControlKind::Radio, "Kanal 6", 92, 111, 40, 10},
    {IdOk, ControlKind::DefaultButton, "Kopieren", 12, 137, 50, 14, StyleGroup},
    {IdCancel, ControlKind::Button, "Schließen", 87, 137, 50, 14},
};

}  // namespace

const DialogTemplate copyChannelTemplate{CopyChannelTemplateId, "Kanaldaten kopieren", 149, 158,
                                         DialogFrame::Modal,    "MS Sans Serif",       8,   rows};
