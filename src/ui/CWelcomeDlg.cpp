#include "ui/CWelcomeDlg.h"

#include <QLabel>

#include "res/DialogTemplates.h"

CWelcomeDlg::CWelcomeDlg(QWidget* parent) : TemplateDialog(DialogBuilder(welcomeTemplate), parent) {
    // The dialog and its children take black on white from this palette; the
    // labels fill nothing themselves, so the whole box is white.
    QPalette white = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        white.setColor(group, QPalette::Window, Qt::white);
        white.setColor(group, QPalette::WindowText, Qt::black);
    }
    setPalette(white);
    setAutoFillBackground(true);
}

QString CWelcomeDlg::messageText() const {
    const auto* label = control<QLabel>(MessageId);
    return label != nullptr ? label->text() : QString();
}

void CWelcomeDlg::onInitDialog() {
    if (auto* label = control<QLabel>(MessageId)) {
        label->setText(m_strMessage);
    }
}
