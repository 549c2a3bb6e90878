#include "ui/CGraphOptionsDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "forms/ControlData.h"
#include "forms/IntegerField.h"
#include "model/ParameterImage.h"
#include "platform/UserServices.h"
#include "res/DialogTemplates.h"

namespace {

// The framework titles its own prompts with the application's name.
constexpr const char* PromptTitle = "Filtaro";

// The labels were sized for a narrower face than the one standing in for
// it here; "Start Frequency:" would wrap and lose its second word. A label
// that does not fit stays on one line and grows to the left, keeping its
// right edge next to its field.
void fitRightAlignedLabels(const DialogControls& controls) {
    for (QWidget* w : controls.all()) {
        auto* label = qobject_cast<QLabel*>(w);
        if (label == nullptr || !(label->alignment() & Qt::AlignRight)) continue;
        const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text()) + 1;
        if (needed <= label->width()) continue;
        const QRect r = label->geometry();
        const int left = std::max(0, r.right() + 1 - needed);
        label->setWordWrap(false);
        label->setGeometry(left, r.top(), r.right() + 1 - left, r.height());
    }
}

}  // namespace

CGraphOptionsDlg::CGraphOptionsDlg(ParameterImage* image, QWidget* parent)
    : TemplateDialog(DialogBuilder(graphOptionsTemplate), parent), m_pImage(image) {
    fitRightAlignedLabels(controls());
}

QLineEdit* CGraphOptionsDlg::startEdit() const {
    return control<QLineEdit>(StartEditId);
}

QLineEdit* CGraphOptionsDlg::endEdit() const {
    return control<QLineEdit>(EndEditId);
}

void CGraphOptionsDlg::onInitDialog() {
    endEdit()->setText(QString::number(m_nEnd));
    startEdit()->setText(QString::number(m_nStart));
    showFromStart(endEdit());
    showFromStart(startEdit());
}

bool CGraphOptionsDlg::readField(QLineEdit* edit, int lo, int hi, int& member) {
    const IntegerFieldResult r = parseIntegerField(edit->text().toStdString(), lo, hi);
    if (r.error != IntegerFieldError::None) {
        userServices().messageBox(integerFieldPrompt(r.error, lo, hi), PromptTitle,
                                  MessageIcon::Warning);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return false;
    }
    member = r.value;
    return true;
}

bool CGraphOptionsDlg::readControls() {
    ensureInitDialog();
    return readField(endEdit(), EndMinHz, EndMaxHz, m_nEnd) &&
           readField(startEdit(), StartMinHz, StartMaxHz, m_nStart);
}

void CGraphOptionsDlg::onOK() {
    if (!readControls()) return;
    if (m_nStart < m_nEnd) {
        accept();
        return;
    }
    userServices().messageBox("Startfrequenz muß kleiner als die Endfrequenz sein!", "Fehler",
                              MessageIcon::Stop);
}

void CGraphOptionsDlg::onMove() {
    if (m_pImage != nullptr) m_pImage->setTabMarker(1);
}
