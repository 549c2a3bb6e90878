#include "forms/TemplateDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <algorithm>

TemplateDialog::TemplateDialog(const DialogBuilder& builder, QWidget* parent)
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

void TemplateDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    onMove();
}

void TemplateDialog::ensureInitDialog() {
    if (!m_bInitialised) {
        m_bInitialised = true;
        onInitDialog();
    }
}

void TemplateDialog::showEvent(QShowEvent* event) {
    ensureInitDialog();
    fitTitle();
    QDialog::showEvent(event);
}

void TemplateDialog::fitTitle() {
    if (m_bTitleFitted) {
        return;
    }
    m_bTitleFitted = true;
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).horizontalAdvance(windowTitle());
    const int wanted = titledWindowWidth(width(), title);
    if (wanted == width()) {
        return;
    }
    // The template's controls keep their places relative to each other, in
    // the middle of the wider dialog.
    const int shift = (wanted - width()) / 2;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->move(child->x() + shift, child->y());
    }
    setFixedSize(wanted, height());
}

int titledWindowWidth(int width, int titleWidth) {
    return std::max(width, titleWidth + TitleBarFurniture);
}
