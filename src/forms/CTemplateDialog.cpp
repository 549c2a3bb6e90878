#include "forms/CTemplateDialog.h"

#include <QAbstractButton>

CTemplateDialog::CTemplateDialog(const CDialogBuilder& builder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    m_controls = builder.build(this);
    if (auto* ok = m_controls.get<QAbstractButton>(IdOk)) {
        connect(ok, &QAbstractButton::clicked, this, [this] { onOK(); });
    }
    if (auto* cancel = m_controls.get<QAbstractButton>(IdCancel)) {
        connect(cancel, &QAbstractButton::clicked, this, [this] { onCancel(); });
    }
}

void CTemplateDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    onMove();
}

void CTemplateDialog::ensureInitDialog() {
    if (!m_bInitialised) {
        m_bInitialised = true;
        onInitDialog();
    }
}

void CTemplateDialog::showEvent(QShowEvent* event) {
    ensureInitDialog();
    QDialog::showEvent(event);
}
