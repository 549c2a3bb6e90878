#pragma once
// Every modal dialog of the window (About, graph options, welcome box and the
// commands' dialogs) runs through runModal(), so that a test or the
// screenshot run can answer it instead of a person.

#include <functional>

class QDialog;

// Answers a dialog: returns its result (QDialog::Accepted or Rejected)
// without blocking, typically after calling the dialog's own accept logic.
using ModalAnswer = std::function<int(QDialog&)>;

// Runs `dialog` modally with QDialog::exec(), or hands it to the installed
// answer.
int runModal(QDialog& dialog);

// Installs an answer for the lifetime of the object; the previous one is
// restored afterwards.
class ScopedModalAnswer {
public:
    explicit ScopedModalAnswer(ModalAnswer answer);
    ~ScopedModalAnswer();
    ScopedModalAnswer(const ScopedModalAnswer&) = delete;
    ScopedModalAnswer& operator=(const ScopedModalAnswer&) = delete;

private:
    ModalAnswer m_previous;
};

// The answer of the screenshot run and of most tests: the dialog's own OK
// handler (onOK of a template dialog, so its validation runs; accept()
// otherwise). A dialog whose validation refuses stays un-accepted.
int acceptDialog(QDialog& dialog);
