#pragma once
// "Kanaldaten kopieren" (template 166): copies all parameters of one channel
// onto another channel of the active preset, as often as the user likes
// before closing.

#include "ui/CopyDialogBase.h"

class CCopyChannelDlg : public CopyDialogBase {
    Q_OBJECT

public:
    explicit CCopyChannelDlg(CopyAction copy, QWidget* parent = nullptr);
};
