#include "ui/CCopyDlgBase.h"

#include "model/ParameterImage.h"

CCopyDlgBase::CCopyDlgBase(const DialogTemplate& tmpl, ParameterImage* image, QWidget* parent)
    : CTemplateDialog(CDialogBuilder(tmpl), parent), m_pImage(image) {
    CCopyDlgBase::onInitDialog();  // the initial choice shows before the box opens
}

void CCopyDlgBase::onInitDialog() {
    controls().setRadioIndex(CopySourceGroupId, m_nSource);
    controls().setRadioIndex(CopyTargetGroupId, m_nTarget);
}

void CCopyDlgBase::onOK() {
    m_nSource = controls().radioIndex(CopySourceGroupId);
    m_nTarget = controls().radioIndex(CopyTargetGroupId);
    if (m_pImage != nullptr) {
        copy(*m_pImage);
        emit copied(m_nSource, m_nTarget);
    }
    // The dialog stays open for the next copy.
}
