#include "view/KeyboardFocus.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QRadioButton>
#include <QTabBar>

#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"

void arrangeViewTabOrder(QWidget* plot, CChannelTabCtrl& tabs,
                         const std::array<QRadioButton*, 4>& presetButtons, QWidget* receive,
                         QWidget* send) {
    QWidget* last = plot;
    const auto then = [&last](QWidget* next) {
        QWidget::setTabOrder(last, next);
        last = next;
    };
    then(tabs.tabBar());
    for (CChannelPanel* panel : tabs.m_apPanels) {
        // The template's controls, not the lists' drop-down windows.
        for (QWidget* control : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->focusPolicy() & Qt::TabFocus) then(control);
        }
    }
    for (QRadioButton* button : presetButtons) then(button);
    then(receive);
    then(send);
}

bool isWindowUndoKey(const QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo) ||
           pressed == QKeySequence(Qt::CTRL | Qt::Key_Y) ||
           pressed == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
}
