#pragma once
// What the two copy dialogs (CCopyChannelDlg, CCopyPresetDlg) share: a source
// and a target radio group; "Kopieren" copies the source onto the target and
// leaves the dialog open for the next copy; "Schließen", Escape and the close
// box end it.

#include <functional>

#include "forms/TemplateDialog.h"

// Radio groups of both templates.
constexpr int CopySourceGroupId = 1069;
constexpr int CopyTargetGroupId = 1075;

// Copies `source` onto `target` (0-based channels or presets): the owner
// does the copy, as one step of its own.
using CopyAction = std::function<void(int source, int target)>;

class CopyDialogBase : public TemplateDialog {
    Q_OBJECT

public:
    // Reads the radio groups into m_nSource / m_nTarget and copies.
    void onOK() override;

    int m_nSource = 0;  // initially the first
    int m_nTarget = 1;  // initially the second

protected:
    CopyDialogBase(const DialogTemplate& tmpl, CopyAction copy, QWidget* parent);
    void onInitDialog() override;

private:
    CopyAction m_copy;
};
