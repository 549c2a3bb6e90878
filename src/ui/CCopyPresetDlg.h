#pragma once
// "Presetdaten kopieren" (template 185): copies a whole preset (all six
// channels) onto another preset, as often as the user likes before closing.

#include "ui/CopyDialogBase.h"

class CCopyPresetDlg : public CopyDialogBase {
    Q_OBJECT

public:
    explicit CCopyPresetDlg(CopyAction copy, QWidget* parent = nullptr);
};
