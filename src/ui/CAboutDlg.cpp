#include "ui/CAboutDlg.h"

#include <QLabel>

#include "buildinfo/ProgramVersion.h"
#include "model/ParameterImage.h"
#include "res/DialogTemplates.h"
#include "storage/Ini.h"

CAboutDlg::CAboutDlg(ParameterImage* image, QWidget* parent)
    : TemplateDialog(DialogBuilder(aboutTemplate), parent), m_pImage(image) {
    m_strBaudrate = QStringLiteral("Baudrate = %1").arg(loadIniSettings().baudRate);
    if (auto* label = control<QLabel>(BaudrateControlId)) {
        label->setText(m_strBaudrate);
    }
    if (auto* label = control<QLabel>(VersionControlId)) {
        label->setText(QStringLiteral("Programmversion ") + QString::fromUtf8(programVersion()));
    }
}

void CAboutDlg::onMove() {
    if (m_pImage) {
        m_pImage->setRedrawPending(1);
    }
}
