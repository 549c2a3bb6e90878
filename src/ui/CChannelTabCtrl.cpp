#include "ui/CChannelTabCtrl.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTabBar>
#include <algorithm>
#include <memory>

#include "model/ParameterImage.h"
#include "res/ChannelColours.h"
#include "res/QtColour.h"
#include "ui/CChannelPanel.h"

namespace {

// The classic tab frame: 2 px of 3-D border around each tab; the selected tab
// stands TabEdgeHeight higher and is open towards the panel below it.
constexpr int TabBorder = 2;
// The tab row starts this far in from the control's left edge.
constexpr int TabRowIndent = 2;
constexpr int TabTextPadding = 6;

}  // namespace

// The tab row. Painting, the fixed tab width and the click go to the owner.
class ChannelTabBar : public QTabBar {
public:
    explicit ChannelTabBar(CChannelTabCtrl* owner) : QTabBar(owner), m_pOwner(owner) {
        setDrawBase(false);
        setExpanding(false);
        setElideMode(Qt::ElideNone);
        setUsesScrollButtons(false);
    }

protected:
    QSize tabSizeHint(int index) const override {
        // Tabs of one width: the row shared by six tabs, at least the text.
        const int text = fontMetrics().horizontalAdvance(tabText(index)) + 2 * TabTextPadding;
        const int share = std::max(1, width()) / 6;
        return {std::max(text, share), fontMetrics().height() + 2 * TabBorder + 4 + TabEdgeHeight};
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    void mousePressEvent(QMouseEvent* event) override {
        const int clicked = tabAt(event->position().toPoint());
        QTabBar::mousePressEvent(event);
        if (event->button() != Qt::LeftButton) {
            return;
        }
        // Styles differ in whether a press or a release selects; a click on
        // these tabs selects on the press.
        if (clicked >= 0 && clicked != currentIndex()) {
            setCurrentIndex(clicked);
        }
        m_pOwner->onLButtonDown();
    }
    // The arrow keys select a tab as a click does; the keyboard focus stays
    // on the row, so that the next key moves on from there.
    void keyPressEvent(QKeyEvent* event) override {
        QTabBar::keyPressEvent(event);
        m_pOwner->switchToSelected(false);
    }
    // The wheel does not move through the tabs.
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const int selected = currentIndex();
        const QColor light = palette().color(QPalette::Light);
        const QColor shadow = palette().color(QPalette::Dark);
        const QColor dark = palette().color(QPalette::Shadow);
        const int bottom = height() - 1;
        // The pane's top edge runs along the bottom of the row, open under
        // the selected tab.
        painter.setPen(light);
        painter.drawLine(0, bottom, width() - 1, bottom);
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < count(); ++i) {
                if ((i == selected) != (pass == 1)) {
                    continue;
                }
                const bool isSelected = i == selected;
                QRect r = tabRect(i);
                r.setTop(isSelected ? 0 : TabEdgeHeight);
                r.setBottom(isSelected ? bottom : bottom - 1);
                // Inside of the frame, the same for every tab, so that only
                // the deliberate raise moves the selected tab's text.
                const QRect item(r.left() + TabBorder, TabEdgeHeight + TabBorder,
                                 r.width() - 2 * TabBorder, bottom - TabEdgeHeight - TabBorder);
                if (isSelected) {
                    painter.fillRect(
                        QRect(item.left(), TabBorder, item.width(), bottom + 1 - TabBorder),
                        toQColor(channelTabColours(i).fill));
                }
                m_pOwner->drawItem(painter, i, item, isSelected);
                painter.setPen(light);
                painter.drawLine(r.left(), r.top() + 2, r.left(), r.bottom());
                painter.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.top() + 1);
                painter.drawLine(r.left() + 2, r.top(), r.right() - 2, r.top());
                painter.setPen(dark);
                painter.drawLine(r.right(), r.top() + 2, r.right(), r.bottom());
                painter.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.top() + 1);
                painter.setPen(shadow);
                painter.drawLine(r.right() - 1, r.top() + 2, r.right() - 1, r.bottom());
                if (isSelected && hasFocus()) {
                    QStyleOptionFocusRect focus;
                    focus.initFrom(this);
                    focus.rect = item.adjusted(1, -TabEdgeHeight + 1, -1, -1);
                    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
                }
            }
        }
    }

private:
    CChannelTabCtrl* m_pOwner;
};

CChannelTabCtrl::CChannelTabCtrl(QWidget* parent)
    : QWidget(parent), m_pBar(new ChannelTabBar(this)) {
    for (int i = 0; i < m_nCount; ++i) {
        m_apPanels[i] = new CChannelPanel(nullptr, i);
    }
    connect(m_pBar, &QTabBar::currentChanged, this, [this](int index) { emit selChange(index); });
    m_pBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pBar, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int index = m_pBar->tabAt(at);
        if (index < 0) {
            return;
        }
        const std::unique_ptr<QMenu> menu(contextMenu(index));
        menu->exec(m_pBar->mapToGlobal(at));
    });
}

QMenu* CChannelTabCtrl::contextMenu(int index) {
    auto* menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("Kanal benennen...")), &QAction::triggered, this,
            [this, index] { emit nameRequested(index); });
    return menu;
}

void CChannelTabCtrl::setChannelName(int index, const QString& name) {
    if (index >= 0 && index < m_pBar->count()) {
        m_pBar->setTabToolTip(index, name);
    }
}

CChannelTabCtrl::~CChannelTabCtrl() {
    // Panels without a window have no parent; the others leave their parent
    // when deleted.
    for (CChannelPanel*& panel : m_apPanels) {
        delete panel;
        panel = nullptr;
    }
}

int CChannelTabCtrl::insertItem(int index, const QString& text) {
    const int at = m_pBar->insertTab(index, text);
    resizeEvent(nullptr);
    return at;
}

int CChannelTabCtrl::itemCount() const {
    return m_pBar->count();
}
int CChannelTabCtrl::curSel() const {
    return m_pBar->currentIndex();
}
QTabBar* CChannelTabCtrl::tabBar() const {
    return m_pBar;
}

void CChannelTabCtrl::resizeEvent(QResizeEvent*) {
    const int rowHeight =
        m_pBar->count() > 0 ? m_pBar->tabRect(0).height() : m_pBar->sizeHint().height();
    m_pBar->setGeometry(TabRowIndent, 0, std::max(0, width() - 2 * TabRowIndent), rowHeight);
}

void CChannelTabCtrl::createPanels(ParameterImage* image) {
    m_pImage = image;
    m_nCurrent = 0;
    for (CChannelPanel* panel : m_apPanels) {
        panel->setImage(image);
        panel->create(this);
    }
    m_apPanels[0]->show();
    for (int i = 1; i < m_nCount; ++i) {
        m_apPanels[i]->hide();
    }
    m_bPanelsCreated = true;
    positionPanels();
}

void CChannelTabCtrl::positionPanels() {
    // T = tab 0 in this control's coordinates (the row's extent without tabs).
    const QRect bar = m_pBar->geometry();
    const QRect t = m_pBar->count() > 0 ? m_pBar->tabRect(0).translated(bar.topLeft())
                                        : QRect(bar.left(), bar.top(), 0, bar.height());
    const int left = t.left();
    const int top = t.bottom() + 1 + 1;  // one below the tab's exclusive bottom
    const int w = width() - left - 1;
    const int h = height() - (t.bottom() + 1) - 2;
    for (int i = 0; i < m_nCount; ++i) {
        m_apPanels[i]->setGeometry(left, top, std::max(0, w), std::max(0, h));
        m_apPanels[i]->raise();
        m_apPanels[i]->setVisible(i == 0);
    }
}

void CChannelTabCtrl::onLButtonDown() {
    switchToSelected(true);
}

void CChannelTabCtrl::switchToSelected(bool focusPanel) {
    const int selected = m_pBar->currentIndex();
    if (selected == m_nCurrent || !m_bPanelsCreated || selected < 0 || selected >= m_nCount) {
        return;
    }
    showPanel(selected, focusPanel);
    m_apPanels[m_nCurrent]->refreshFromImage();
    if (m_pImage != nullptr) {
        m_pImage->setTabMarker(1);
    }
}

void CChannelTabCtrl::showPanel(int index, bool focusPanel) {
    m_apPanels[m_nCurrent]->hide();
    m_nCurrent = index;
    m_apPanels[m_nCurrent]->show();
    if (focusPanel) {
        m_apPanels[m_nCurrent]->setFocus();
    }
}

void CChannelTabCtrl::switchToTab(int index) {
    if (index < 0 || index >= m_nCount) {
        return;
    }
    if (index < m_pBar->count()) {
        const QSignalBlocker block(m_pBar);
        m_pBar->setCurrentIndex(index);
    }
    if (m_bPanelsCreated) {
        showPanel(index, true);
    }
}

void CChannelTabCtrl::drawItem(QPainter& painter, int index, const QRect& rect, bool selected) {
    if (index < 0 || index >= m_pBar->count()) {
        return;
    }
    const QString text = m_pBar->tabText(index).left(63);
    const ChannelTabColours colours = channelTabColours(index);
    m_crSelectedText = toQColor(colours.selectedText);
    m_crNormalText = toQColor(colours.normalText);
    painter.save();
    painter.fillRect(rect, toQColor(colours.fill));
    // Both states use the control's own font.
    painter.setFont(m_pBar->font());
    painter.setPen(selected ? m_crSelectedText : m_crNormalText);
    const QRect textRect = selected ? rect.translated(0, -TabEdgeHeight) : rect;
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.restore();
}

void CChannelTabCtrl::paintEvent(QPaintEvent*) {
    // The pane around the panels: 3-D frame below the tab row.
    QPainter painter(this);
    const int top = m_pBar->geometry().bottom();
    const QRect pane(0, top, width(), height() - top);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(pane.left(), pane.top(), pane.right(), pane.top());
    painter.drawLine(pane.left(), pane.top(), pane.left(), pane.bottom());
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(pane.right(), pane.top(), pane.right(), pane.bottom());
    painter.drawLine(pane.left(), pane.bottom(), pane.right(), pane.bottom());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(pane.right() - 1, pane.top() + 1, pane.right() - 1, pane.bottom() - 1);
    painter.drawLine(pane.left() + 1, pane.bottom() - 1, pane.right() - 1, pane.bottom() - 1);
}
