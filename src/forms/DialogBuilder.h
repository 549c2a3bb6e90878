#pragma once
// Creates the widgets of a dialog template on a parent widget, at the pixel
// geometry of the template's dialog units, and finds them again by control id.
//
//   DialogBuilder builder(channelPanelTemplate);
//   builder.use<CEditEx>(1017);                 // own class for one id
//   DialogControls controls = builder.build(this);
//   auto* edit = controls.get<CEditEx>(1017);
//
// Default widgets per kind: Static QLabel (QFrame for a grey rectangle),
// Picture QLabel with the resource's pixmap, Edit QLineEdit, Button and
// DefaultButton QPushButton, DropList QComboBox, Spin CUpDownCtrl, CheckBox
// QCheckBox, Radio QRadioButton (in a QButtonGroup per template group),
// GroupBox QGroupBox, Tab QTabWidget, Custom a plain QWidget. A substitute
// receives the same set-up when it derives from the default class (a CEditEx
// is made read-only like any QLineEdit).

#include <QFont>
#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "res/DialogTemplate.h"

class QButtonGroup;
class QWidget;

// The font of a template (pixel size fixed at 96 dpi, independent of the screen).
QFont dialogFont(const char* name, int points);
QFont dialogFont(const DialogTemplate& tmpl);
// The template's client area in pixels.
QSize templateClientSize(const DialogTemplate& tmpl);

// The widgets of one built template. Owned by the parent widget; this is only
// an index into them.
class DialogControls {
public:
    // The widget of control `id`, or nullptr for an unknown or unnamed id.
    QWidget* control(int id) const;
    template <class T>
    T* get(int id) const {
        return dynamic_cast<T*>(control(id));
    }
    // Every widget in template order, unnamed ones included.
    const std::vector<QWidget*>& all() const { return m_widgets; }

    // The radio group whose first button has id `firstId`, or nullptr.
    QButtonGroup* radioGroup(int firstId) const;
    // Index of the checked button within the group (0 = the first), -1 when
    // none is checked or the group does not exist.
    int radioIndex(int firstId) const;
    // Checks button `index` of the group (the others clear); -1 clears all.
    void setRadioIndex(int firstId, int index) const;

private:
    friend class DialogBuilder;
    std::vector<QWidget*> m_widgets;
    std::map<int, QWidget*> m_byId;
    std::map<int, QButtonGroup*> m_groups;
};

using ControlFactory = std::function<QWidget*(const ControlRow& row, QWidget* parent)>;

class DialogBuilder {
public:
    explicit DialogBuilder(const DialogTemplate& tmpl) : m_pTemplate(&tmpl) {}

    const DialogTemplate& dialogTemplate() const { return *m_pTemplate; }

    // Control `id` is created by `factory` instead of the default widget.
    DialogBuilder& substitute(int id, ControlFactory factory);
    // Control `id` is a `T`, constructed with the parent widget.
    template <class T>
    DialogBuilder& use(int id) {
        return substitute(id, [](const ControlRow&, QWidget* parent) { return new T(parent); });
    }

    // Creates every control as a child of `parent` in template order (which
    // is the tab order), sets the template's font on `parent` and sizes it to
    // the template's client area; a top-level parent also gets the caption and
    // a fixed size.
    DialogControls build(QWidget* parent) const;

private:
    const DialogTemplate* m_pTemplate;
    std::map<int, ControlFactory> m_factories;
};
