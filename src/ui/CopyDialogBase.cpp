#include "ui/CopyDialogBase.h"

#include <utility>

CopyDialogBase::CopyDialogBase(const DialogTemplate& tmpl, CopyAction copy, QWidget* parent)
    : TemplateDialog(DialogBuilder(tmpl), parent), m_copy(std::move(copy)) {
    CopyDialogBase::onInitDialog();  // the initial choice shows before the box opens
}

void CopyDialogBase::onInitDialog() {
    controls().setRadioIndex(CopySourceGroupId, m_nSource);
    controls().setRadioIndex(CopyTargetGroupId, m_nTarget);
}

void CopyDialogBase::onOK() {
    m_nSource = controls().radioIndex(CopySourceGroupId);
    m_nTarget = controls().radioIndex(CopyTargetGroupId);
    if (m_copy) m_copy(m_nSource, m_nTarget);
    // The dialog stays open for the next copy.
}
