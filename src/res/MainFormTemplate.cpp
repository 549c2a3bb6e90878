#include "res/DialogTemplates.h"

namespace {

// The view moves everything on its first layout pass but keeps the sizes of
// all controls except the plot, so these sizes are the sizes on screen.
constexpr ControlRow rows[] = {
    {1123, ControlKind::Static, "", 7, 7, 408, 284, StyleGrayRect},         // plot placeholder
    {1000, ControlKind::Button, "", 524, 257, 55, 34, StyleCenterContent},  // send
    {1001, ControlKind::Button, "", 424, 257, 55, 34, StyleCenterContent},  // receive
    {1023, ControlKind::Tab, "Tab1", 371, 7, 208, 212, StyleOwnerDraw | StyleFixedWidth},
    {1049, ControlKind::GroupBox, "Preset", 423, 223, 156, 28},
    // Each preset button is a group of its own: the view, not the buttons,
    // decides which one is checked.
    {1025, ControlKind::Radio, "1", 434, 236, 20, 10, StyleGroup},
    {1026, ControlKind::Radio, "2", 473, 236, 20, 10, StyleGroup},
    {1027, ControlKind::Radio, "3", 512, 236, 20, 10, StyleGroup},
    {1028, ControlKind::Radio, "4", 551, 236, 20, 10, StyleGroup},
};

}  // namespace

const DialogTemplate mainFormTemplate{MainFormTemplateId, "", 586, 298, DialogFrame::Child,
                                      "MS Sans Serif",    8,  rows};
