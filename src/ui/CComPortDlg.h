#pragma once
// "COM Port" (template 132): picks the serial port name from the list of
// "COM1" .. "COM256". The caller sets m_strPort (the stored name) before
// opening and reads it after OK: the selected item's text, or empty when
// nothing is selected. Cancel leaves m_strPort as it was.

#include <QString>

#include "forms/TemplateDialog.h"

class ParameterImage;
class QComboBox;

class CComPortDlg : public TemplateDialog {
    Q_OBJECT

public:
    static constexpr int PortListId = 1007;

    // `image` may be null; a move of the dialog then marks nothing.
    explicit CComPortDlg(ParameterImage* image, QWidget* parent = nullptr);

    QString m_strPort = QStringLiteral("COM1");

    QComboBox* portList() const;
    void onOK() override;

protected:
    // Selects the first item that begins with m_strPort (any case), or none.
    void onInitDialog() override;
    // Moving the box marks the view's tab state, as every move of the
    // program's boxes over the main window does.
    void onMove() override;

private:
    ParameterImage* m_pImage;
};
