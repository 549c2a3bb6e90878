#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

namespace {

// 1006 carries "Baudrate = %i", 1007 the version of this build of the
// program (beside the device program's "Version 2.01"); both are set when
// the dialog initialises.
constexpr ControlRow rows[] = {
    {UnnamedControl, ControlKind::Picture, "", 11, 17, 20, 20, StyleNone, ProgramIconId},
    {UnnamedControl, ControlKind::Static, "Filtaro Version 2.01", 40, 10, 119, 8, StyleNoPrefix},
    {1006, ControlKind::Static, "", 40, 25, 119, 8, StyleNoPrefix},
    {1007, ControlKind::Static, "", 40, 40, 170, 8, StyleNoPrefix},
    {IdOk, ControlKind::DefaultButton, "OK", 178, 7, 32, 14, StyleGroup},
};

}  // namespace

const DialogTemplate aboutTemplate{AboutTemplateId,    "Info über Filtaro", 217, 55,
                                   DialogFrame::Modal, "MS Sans Serif",     8,   rows};
