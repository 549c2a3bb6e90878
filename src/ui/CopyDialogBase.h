#pragma once
// What the two copy dialogs (CCopyChannelDlg, CCopyPresetDlg) share: a source
// and a target radio group; "Kopieren" copies the source onto the target and
// leaves the dialog open for the next copy; "Schließen", Escape and the close
// box end it.

#include "forms/TemplateDialog.h"

class ParameterImage;

// Radio groups of both templates.
constexpr int CopySourceGroupId = 1069;
constexpr int CopyTargetGroupId = 1075;

class CopyDialogBase : public TemplateDialog {
    Q_OBJECT

public:
    // Reads the radio groups into m_nSource / m_nTarget and copies.
    void onOK() override;

    int m_nSource = 0;  // initially the first
    int m_nTarget = 1;  // initially the second

signals:
    // After each copy, with the indices copied.
    void copied(int source, int target);

protected:
    CopyDialogBase(const DialogTemplate& tmpl, ParameterImage* image, QWidget* parent);
    void onInitDialog() override;
    virtual void copy(ParameterImage& image) = 0;

private:
    ParameterImage* m_pImage;
};
