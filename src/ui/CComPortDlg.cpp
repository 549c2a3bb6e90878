#include "ui/CComPortDlg.h"

#include <QComboBox>

#include "forms/CompactListStyle.h"
#include "model/ParameterImage.h"
#include "res/DialogTemplates.h"
#include "ui/ComPortList.h"

CComPortDlg::CComPortDlg(ParameterImage* image, QWidget* parent)
    : TemplateDialog(DialogBuilder(comPortTemplate), parent), m_pImage(image) {
    QComboBox* list = portList();
    list->setStyle(compactListStyle());
    for (const std::string& name : comPortListItems()) {
        list->addItem(QString::fromStdString(name));
    }
    list->setCurrentIndex(-1);
}

QComboBox* CComPortDlg::portList() const {
    return control<QComboBox>(PortListId);
}

void CComPortDlg::onInitDialog() {
    portList()->setCurrentIndex(findComPortItem(comPortListItems(), m_strPort.toStdString()));
}

void CComPortDlg::onOK() {
    ensureInitDialog();
    const int index = portList()->currentIndex();
    m_strPort = index < 0 ? QString() : portList()->itemText(index);
    accept();
}

void CComPortDlg::onMove() {
    if (m_pImage != nullptr) {
        m_pImage->setTabMarker(1);
    }
}
