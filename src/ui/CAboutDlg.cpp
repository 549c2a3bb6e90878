#include "ui/CAboutDlg.h"

#include <QLabel>

#include "device/DevicePort.h"
#include "model/ParameterImage.h"
#include "res/DialogTemplates.h"

CAboutDlg::CAboutDlg(ParameterImage* image, QWidget* parent)
    : CTemplateDialog(CDialogBuilder(aboutTemplate), parent), m_pImage(image) {
    m_strBaudrate = QStringLiteral("Baudrate = %1").arg(configuredBaudRate());
    if (auto* label = control<QLabel>(BaudrateControlId)) {
        label->setText(m_strBaudrate);
    }
}

void CAboutDlg::onMove() {
    if (m_pImage) {
        m_pImage->setRedrawPending(1);
    }
}
