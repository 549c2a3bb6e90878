#pragma once
// "Grafikoptionen" (template 177): the frequency range of the response plot.
// The caller sets m_nStart and m_nEnd (Hz) before opening and reads them
// after OK; the dialog itself never writes the range into the image.
//
// OK takes the end field first (an integer 600..20000), then the start field
// (10..10000); the first field that fails gets the framework's prompt and
// the focus with its text selected, and the dialog stays open. Then the
// start must lie below the end.

#include "forms/TemplateDialog.h"

class ParameterImage;
class QLineEdit;

class CGraphOptionsDlg : public TemplateDialog {
    Q_OBJECT

public:
    static constexpr int StartEditId = 1168;
    static constexpr int EndEditId = 1169;
    static constexpr int StartMinHz = 10;
    static constexpr int StartMaxHz = 10000;
    static constexpr int EndMinHz = 600;
    static constexpr int EndMaxHz = 20000;

    // `image` may be null; a move of the dialog then marks nothing.
    explicit CGraphOptionsDlg(ParameterImage* image, QWidget* parent = nullptr);

    int m_nStart = 20;
    int m_nEnd = 20000;

    QLineEdit* startEdit() const;
    QLineEdit* endEdit() const;

    // Reads and checks both fields into the members, end first; false (after
    // the prompt) at the first field that fails.
    bool readControls();
    void onOK() override;

protected:
    void onInitDialog() override;
    // Moving the box marks the view's tab state.
    void onMove() override;

private:
    bool readField(QLineEdit* edit, int lo, int hi, int& member);

    ParameterImage* m_pImage;
};
