#include "ui/CCopyPresetDlg.h"

#include <utility>

#include "res/DialogTemplates.h"

CCopyPresetDlg::CCopyPresetDlg(CopyAction copy, QWidget* parent)
    : CopyDialogBase(copyPresetTemplate, std::move(copy), parent) {}
