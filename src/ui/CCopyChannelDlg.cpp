#include "ui/CCopyChannelDlg.h"

#include <utility>

#include "res/DialogTemplates.h"

CCopyChannelDlg::CCopyChannelDlg(CopyAction copy, QWidget* parent)
    : CopyDialogBase(copyChannelTemplate, std::move(copy), parent) {}
