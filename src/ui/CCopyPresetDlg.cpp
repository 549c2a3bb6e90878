#include "ui/CCopyPresetDlg.h"

#include "res/DialogTemplates.h"
#include "ui/CopyRecords.h"

CCopyPresetDlg::CCopyPresetDlg(ParameterImage* image, QWidget* parent)
    : CopyDialogBase(copyPresetTemplate, image, parent) {}

void CCopyPresetDlg::copy(ParameterImage& image) {
    copyPreset(image, m_nSource, m_nTarget);
}
