#include "ui/CopyDialogBase.h"

#include "model/ParameterImage.h"

CopyDialogBase::CopyDialogBase(const DialogTemplate& tmpl, ParameterImage* image, QWidget* parent)
    : TemplateDialog(DialogBuilder(tmpl), parent), m_pImage(image) {
    CopyDialogBase::onInitDialog();  // the initial choice shows before the box opens
}

void CopyDialogBase::onInitDialog() {
    controls().setRadioIndex(CopySourceGroupId, m_nSource);
    controls().setRadioIndex(CopyTargetGroupId, m_nTarget);
}

void CopyDialogBase::onOK() {
    m_nSource = controls().radioIndex(CopySourceGroupId);
    m_nTarget = controls().radioIndex(CopyTargetGroupId);
    if (m_pImage != nullptr) {
        copy(*m_pImage);
        emit copied(m_nSource, m_nTarget);
    }
    // The dialog stays open for the next copy.
}
