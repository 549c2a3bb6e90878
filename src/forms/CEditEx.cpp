#include "forms/CEditEx.h"

CEditEx::CEditEx(QWidget* parent) : QLineEdit(parent) {
    applyColours();
}

bool CEditEx::setUsedState(bool used) {
    m_bUsed = used;
    applyColours();
    return false;
}

bool CEditEx::setDisabledState(bool disabled) {
    m_bDisabled = disabled;
    applyColours();
    return false;
}

QColor CEditEx::backgroundColour() const {
    return m_bUsed ? EditUsedColour : QColor(Qt::white);
}

// Every colour group is set alike, so a read-only or inactive field keeps the
// same colours as an active editable one.
void CEditEx::applyColours() {
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, backgroundColour());
        p.setColor(group, QPalette::Text, textColour());
    }
    setPalette(p);
    update();
}
