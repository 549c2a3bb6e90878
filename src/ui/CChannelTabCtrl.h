#pragma once
// The channel tabs of the main form (control 1023): a row of owner-drawn tabs
// in the colours of the channels' curves, and below it the six channel panels
// of which exactly one is shown. It owns the panels.
//
// A click on a tab, or the arrow keys while the tab row has the focus,
// switches the shown panel and refreshes it from the image: the tab that is
// highlighted is always the channel being edited. A click gives the panel the
// keyboard focus; the keys leave it on the row.
//
// Use by the view:
//   tabs->insertItem(i, "Ch. 1 ") ...    the tab texts, positions 0..5
//   tabs->createPanels(image);           creates, loads and places the panels
//   tabs->m_apPanels[i]->refreshFromImage();   after receive, New, Open, presets
//   tabs->switchToTab(0);                back to channel 1 (New, Open)
//   connect(tabs, &CChannelTabCtrl::selChange, ...)   the user changed the selection
//   tabs->setChannelName(i, name);       the channel's name as the tab's tooltip
//   connect(tabs, &CChannelTabCtrl::nameRequested, ...)  "Kanal benennen..." on a tab

#include <QColor>
#include <QWidget>
#include <array>

class CChannelPanel;
class ChannelTabBar;
class ParameterImage;
class QMenu;
class QPainter;
class QTabBar;

// Height of a sunken 3-D edge at 96 dpi, by which the selected tab's text is raised.
constexpr int TabEdgeHeight = 2;

class CChannelTabCtrl : public QWidget {
    Q_OBJECT

public:
    // Allocates the six panels (no windows yet) with m_nChannel = 0..5.
    explicit CChannelTabCtrl(QWidget* parent = nullptr);
    ~CChannelTabCtrl() override;

    // Inserts a tab with `text` at `index`; returns its index.
    int insertItem(int index, const QString& text);
    int itemCount() const;
    // The selected (highlighted) tab, or -1; not necessarily the panel shown.
    int curSel() const;
    QTabBar* tabBar() const;

    // Creates the panels' controls as children of this control (each loads
    // itself from `image`, which must outlive them), shows panel 0 and places
    // the panels below the tab row. Called once, after the tabs are inserted.
    void createPanels(ParameterImage* image);
    // Places every panel below the tab row and shows only panel 0.
    void positionPanels();
    // Selects tab `index` and shows its panel with the keyboard focus, as New
    // and Open do to go back to channel 1: no refresh, no `tabMarker`, and no
    // selChange (the user did not choose it).
    void switchToTab(int index);

    // The tab's tooltip: the channel's name (empty: none).
    void setChannelName(int index, const QString& name);
    // The menu a right click on tab `index` opens (the caller owns it).
    QMenu* contextMenu(int index);

    std::array<CChannelPanel*, 6> m_apPanels{};  // owned
    int m_nCount = 6;
    int m_nCurrent = 0;  // the panel shown
    // The text colours the last tab paint used.
    QColor m_crSelectedText;
    QColor m_crNormalText;

signals:
    // The user changed the selected tab, by mouse or keyboard.
    void selChange(int index);
    // "Kanal benennen..." was chosen in the menu of tab `index`.
    void nameRequested(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class ChannelTabBar;
    // After the tab row's own click handling: switches to the clicked tab.
    void onLButtonDown();
    // Shows the panel of the selected tab, refreshed, unless it is shown.
    void switchToSelected(bool focusPanel);
    // Hides the panel shown and shows panel `index`, perhaps with the
    // keyboard focus.
    void showPanel(int index, bool focusPanel);
    // Paints the inside of tab `index` (fill and text) into `rect`.
    void drawItem(QPainter& painter, int index, const QRect& rect, bool selected);

    ChannelTabBar* m_pBar = nullptr;
    ParameterImage* m_pImage = nullptr;
    bool m_bPanelsCreated = false;
};
