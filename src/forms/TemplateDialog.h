#pragma once
// Base of the program's modal dialogs: a QDialog laid out from a dialog
// template. OK (id 1) calls onOK, Cancel (id 2), Escape and the close box call
// onCancel; the defaults end the dialog. Members that the caller sets between
// construction and opening reach the controls in onInitDialog. Tests drive a dialog without running
// it: they set controls through controls() and call onOK / onCancel directly.

#include <QDialog>

#include "forms/DialogBuilder.h"

class TemplateDialog : public QDialog {
    Q_OBJECT

public:
    // `builder` carries the template and any substituted control classes.
    explicit TemplateDialog(const DialogBuilder& builder, QWidget* parent = nullptr);

    const DialogControls& controls() const { return m_controls; }
    QWidget* control(int id) const { return m_controls.control(id); }
    template <class T>
    T* control(int id) const {
        return m_controls.get<T>(id);
    }

    // Runs onInitDialog once: when the dialog is first shown, or earlier when
    // a caller (a test, an OK handler) needs the initialised state.
    void ensureInitDialog();

    // The handlers of the OK and Cancel buttons.
    virtual void onOK() { accept(); }
    virtual void onCancel() { QDialog::reject(); }

    // Escape and the close box arrive here.
    void reject() override { onCancel(); }

protected:
    // Pushes the members the caller set after construction into the controls.
    virtual void onInitDialog() {}
    void showEvent(QShowEvent* event) override;

    // Called after the dialog window moved (the default handling has run).
    virtual void onMove() {}
    void moveEvent(QMoveEvent* event) override;

private:
    // Widens the dialog, once, so that the window manager's title bar can
    // show the whole title; the template's width was meant for a narrower
    // caption font ("Grafi…onen").
    void fitTitle();

    DialogControls m_controls;
    bool m_bInitialised = false;
    bool m_bTitleFitted = false;
};

// What a title bar needs beside its text: the window icon, the buttons for
// minimising, maximising and closing, and the margins, as common window
// managers draw them.
constexpr int TitleBarFurniture = 110;
// The width of a window of `width` whose title is `titleWidth` pixels wide in
// the title bar's (bold) font.
int titledWindowWidth(int width, int titleWidth);
