#include "forms/DialogBuilder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>

#include "forms/CUpDownCtrl.h"
#include "res/FontFamily.h"
#include "res/Icons.h"

namespace {

// Line height of a list item in the dialog font.
constexpr int ListItemHeight = 13;
// The colour of a grey rectangle static.
const QColor GrayRectColor(128, 128, 128);

QWidget* createDefault(const ControlRow& row, QWidget* parent) {
    switch (row.kind) {
        case ControlKind::Static:
            if ((row.style & StyleGrayRect) != 0) {
                return new QFrame(parent);
            }
            return new QLabel(parent);
        case ControlKind::Picture:
            return new QLabel(parent);
        case ControlKind::Edit:
            return new QLineEdit(parent);
        case ControlKind::Button:
        case ControlKind::DefaultButton:
            return new QPushButton(parent);
        case ControlKind::DropList:
            return new QComboBox(parent);
        case ControlKind::Spin:
            return new CUpDownCtrl(parent);
        case ControlKind::CheckBox:
            return new QCheckBox(parent);
        case ControlKind::Radio:
            return new QRadioButton(parent);
        case ControlKind::GroupBox:
            return new QGroupBox(parent);
        case ControlKind::Tab:
            return new QTabWidget(parent);
        case ControlKind::Custom:
            break;
    }
    return new QWidget(parent);
}

Qt::Alignment textAlignment(unsigned style) {
    if ((style & StyleRight) != 0) {
        return Qt::AlignRight | Qt::AlignTop;
    }
    if ((style & StyleCenter) != 0) {
        return Qt::AlignHCenter | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

// Applies what the row says to whatever widget was created for it.
void setUp(QWidget* w, const ControlRow& row, const PixelRect& px) {
    const QString text = QString::fromUtf8(row.text);
    w->setGeometry(px.x, px.y, px.w, px.h);
    if ((row.style & StyleDisabled) != 0) {
        w->setEnabled(false);
    }
    if (auto* frame = dynamic_cast<QFrame*>(w);
        frame != nullptr && (row.style & StyleGrayRect) != 0) {
        frame->setAutoFillBackground(true);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::Window, GrayRectColor);
        frame->setPalette(palette);
    }
    if (auto* label = dynamic_cast<QLabel*>(w)) {
        if (row.kind == ControlKind::Picture) {
            // Drawn for the screen's pixel density, sized by its logical size.
            const QPixmap pixmap = resourcePixmap(row.resource, w->devicePixelRatioF());
            label->setPixmap(pixmap);
            if (!pixmap.isNull()) {
                const QSize size = pixmap.deviceIndependentSize().toSize();
                label->setGeometry(px.x, px.y, size.width(), size.height());
            }
        } else {
            label->setTextFormat(Qt::PlainText);
            label->setText(text);
            label->setAlignment(textAlignment(row.style));
            label->setWordWrap(true);
        }
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(w)) {
        edit->setText(text);
        edit->setReadOnly((row.style & StyleReadOnly) != 0);
        edit->setFrame((row.style & StyleBorder) != 0);
        edit->setAlignment((row.style & StyleRight) != 0 ? Qt::AlignRight : Qt::AlignLeft);
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(w)) {
        button->setText(text);
        if (auto* push = dynamic_cast<QPushButton*>(w)) {
            push->setAutoDefault(true);
            push->setDefault(row.kind == ControlKind::DefaultButton);
        }
        if (auto* radio = dynamic_cast<QRadioButton*>(w)) {
            radio->setAutoExclusive(false);  // the template's groups decide
        }
    }
    if (auto* combo = dynamic_cast<QComboBox*>(w)) {
        combo->setEditable(false);
        combo->setGeometry(px.x, px.y, px.w, DropListClosedHeight);
        combo->setMaxVisibleItems(std::max(1, (px.h - DropListClosedHeight) / ListItemHeight));
    }
    if (auto* group = dynamic_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    }
    if (auto* spin = dynamic_cast<CUpDownCtrl*>(w)) {
        spin->setBuddyInt((row.style & StyleBuddyInt) != 0);
        spin->setArrowKeys((row.style & StyleArrowKeys) != 0);
    }
}

}  // namespace

QFont dialogFont(const char* name, int points) {
    QFont font(resolveFontFamily(name));
    font.setPixelSize(dialogFontPixelHeight(points));
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont dialogFont(const DialogTemplate& tmpl) {
    return dialogFont(tmpl.fontName, tmpl.fontPoints);
}

QSize templateClientSize(const DialogTemplate& tmpl) {
    return {dluToPixelsX(tmpl.w), dluToPixelsY(tmpl.h)};
}

QWidget* DialogControls::control(int id) const {
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : it->second;
}

QButtonGroup* DialogControls::radioGroup(int firstId) const {
    const auto it = m_groups.find(firstId);
    return it == m_groups.end() ? nullptr : it->second;
}

int DialogControls::radioIndex(int firstId) const {
    const QButtonGroup* group = radioGroup(firstId);
    if (group == nullptr) {
        return -1;
    }
    const QList<QAbstractButton*> buttons = group->buttons();
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void DialogControls::setRadioIndex(int firstId, int index) const {
    QButtonGroup* group = radioGroup(firstId);
    if (group == nullptr) {
        return;
    }
    const QList<QAbstractButton*> buttons = group->buttons();
    // An exclusive group refuses to clear its last checked button.
    group->setExclusive(false);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        buttons[i]->setChecked(i == index);
    }
    group->setExclusive(true);
}

DialogBuilder& DialogBuilder::substitute(int id, ControlFactory factory) {
    m_factories[id] = std::move(factory);
    return *this;
}

DialogControls DialogBuilder::build(QWidget* parent) const {
    const DialogTemplate& tmpl = *m_pTemplate;
    parent->setFont(dialogFont(tmpl));
    const QSize client = templateClientSize(tmpl);
    if (parent->isWindow()) {
        parent->setWindowTitle(QString::fromUtf8(tmpl.caption));
        parent->setFixedSize(client);
    } else {
        parent->resize(client);
    }
    if (auto* frame = dynamic_cast<QFrame*>(parent);
        frame != nullptr && tmpl.frame == DialogFrame::ChildBordered) {
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
    }

    DialogControls controls;
    QButtonGroup* group = nullptr;  // the radio group being filled
    QWidget* previous = nullptr;
    for (const ControlRow& row : tmpl.rows) {
        const auto custom = m_factories.find(row.id);
        QWidget* w = custom != m_factories.end() && row.id != UnnamedControl
                         ? custom->second(row, parent)
                         : createDefault(row, parent);
        if (w->parentWidget() != parent) {
            w->setParent(parent);
        }
        setUp(w, row, dluToPixels(row));

        // A radio group runs from a radio with the group style up to the
        // next control with the group style.
        if ((row.style & StyleGroup) != 0) {
            group = nullptr;
        }
        if (auto* radio = dynamic_cast<QAbstractButton*>(w);
            radio != nullptr && row.kind == ControlKind::Radio) {
            if (group == nullptr) {
                group = new QButtonGroup(parent);
                group->setExclusive(true);
                controls.m_groups[row.id] = group;
            }
            group->addButton(radio);
        }

        if (auto* spin = dynamic_cast<CUpDownCtrl*>(w);
            spin != nullptr && (row.style & StyleAutoBuddy) != 0) {
            spin->setBuddy(dynamic_cast<QLineEdit*>(previous), (row.style & StyleAlignBuddy) != 0);
        }

        w->show();
        controls.m_widgets.push_back(w);
        if (row.id != UnnamedControl) {
            controls.m_byId.emplace(row.id, w);
        }
        previous = w;
    }
    return controls;
}
