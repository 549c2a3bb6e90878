#include "forms/ModalRunner.h"

#include <QDialog>
#include <utility>

#include "forms/TemplateDialog.h"

namespace {

ModalAnswer& installedAnswer() {
    static ModalAnswer answer;
    return answer;
}

}  // namespace

int runModal(QDialog& dialog) {
    if (const ModalAnswer& answer = installedAnswer()) {
        return answer(dialog);
    }
    return dialog.exec();
}

ScopedModalAnswer::ScopedModalAnswer(ModalAnswer answer)
    : m_previous(std::exchange(installedAnswer(), std::move(answer))) {}

ScopedModalAnswer::~ScopedModalAnswer() {
    installedAnswer() = std::move(m_previous);
}

int acceptDialog(QDialog& dialog) {
    if (auto* templated = dynamic_cast<TemplateDialog*>(&dialog)) {
        templated->ensureInitDialog();  // as if it had been shown
        templated->onOK();
    } else {
        dialog.accept();
    }
    return dialog.result();
}
