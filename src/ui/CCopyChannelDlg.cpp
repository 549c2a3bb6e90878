#include "ui/CCopyChannelDlg.h"

#include "res/DialogTemplates.h"
#include "ui/CopyRecords.h"

CCopyChannelDlg::CCopyChannelDlg(ParameterImage* image, QWidget* parent)
    : CopyDialogBase(copyChannelTemplate, image, parent) {}

void CCopyChannelDlg::copy(ParameterImage& image) {
    copyChannelInActivePreset(image, m_nSource, m_nTarget);
}
