#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "forms/DialogBuilder.h"
#include "model/ParameterImage.h"
#include "res/ChannelColours.h"
#include "res/DialogTemplates.h"
#include "support/ChannelTabs.h"
#include "support/QtTestApp.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"

namespace {

class ChannelTabCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        applyDefaults(image);
        const PixelRect r = dluToPixels(*mainFormTemplate.find(1023));
        tabs.setFont(dialogFont(mainFormTemplate));
        tabs.resize(r.w, r.h);
        for (int i = 0; i < 6; ++i) {
            tabs.insertItem(i, QStringLiteral("Ch. %1 ").arg(i + 1));
        }
        tabs.createPanels(&image);
        QObject::connect(&tabs, &CChannelTabCtrl::selChange,
                         [this](int i) { selChanges.push_back(i); });
    }

    QString hpShown(int panel) const {
        return dynamic_cast<QLineEdit*>(tabs.m_apPanels[panel]->control(IdHpFrequency))->text();
    }

    QApplication& app = qtTestApp();
    ParameterImage image;
    CChannelTabCtrl tabs;
    std::vector<int> selChanges;
};

TEST_F(ChannelTabCtrlTest, PanelsAreCreatedLoadedAndPlacedBelowTheTabs) {
    EXPECT_EQ(tabs.m_nCurrent, 0);
    EXPECT_EQ(shownPanel(tabs), 0);
    const QRect t = tabs.tabBar()->tabRect(0).translated(tabs.tabBar()->pos());
    for (int i = 0; i < 6; ++i) {
        CChannelPanel* panel = tabs.m_apPanels[i];
        EXPECT_EQ(panel->m_nChannel, i);
        EXPECT_EQ(panel->parentWidget(), &tabs);
        EXPECT_TRUE(panel->isCreated());
        EXPECT_EQ(panel->geometry(), QRect(t.left(), t.bottom() + 2, tabs.width() - t.left() - 1,
                                           tabs.height() - t.bottom() - 3));
        EXPECT_EQ(hpShown(i), "20");
    }
    // The template's panel fits the control's width exactly.
    EXPECT_EQ(tabs.m_apPanels[0]->width(), dluToPixelsX(channelPanelTemplate.w));
}

TEST_F(ChannelTabCtrlTest, AClickOnAnotherTabSwitchesAndRefreshesThePanel) {
    image.setField(0, 2, ChannelField::hpFrequency, 333);  // e.g. a channel copy meanwhile
    image.setTabMarker(0);
    clickTab(tabs, 2);
    EXPECT_EQ(tabs.m_nCurrent, 2);
    EXPECT_EQ(shownPanel(tabs), 2);
    EXPECT_EQ(hpShown(2), "333");
    EXPECT_EQ(image.tabMarker(), 1);
    EXPECT_EQ(selChanges, std::vector<int>{2});
}

TEST_F(ChannelTabCtrlTest, AClickOnTheCurrentTabChangesNothing) {
    image.setField(0, 0, ChannelField::hpFrequency, 444);
    image.setTabMarker(0);
    image.setRedrawPending(0);
    clickTab(tabs, 0);
    EXPECT_EQ(shownPanel(tabs), 0);
    EXPECT_EQ(hpShown(0), "20");  // not refreshed
    EXPECT_EQ(image.tabMarker(), 0);
    EXPECT_EQ(image.redrawPending(), 0);
}

TEST_F(ChannelTabCtrlTest, ArrowKeysSwitchThePanelAsAClickDoesAndKeepTheFocusOnTheRow) {
    image.setField(0, 1, ChannelField::hpFrequency, 333);  // e.g. a channel copy meanwhile
    image.setTabMarker(0);
    tabs.show();
    tabs.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tabs));
    tabs.tabBar()->setFocus();
    struct Step {
        Qt::Key key;
        int panel;
    };
    for (const Step& step :
         {Step{Qt::Key_Right, 1}, Step{Qt::Key_Right, 2}, Step{Qt::Key_Left, 1}}) {
        QTest::keyClick(tabs.tabBar(), step.key);
        EXPECT_EQ(tabs.curSel(), step.panel);
        EXPECT_EQ(tabs.m_nCurrent, step.panel);
        EXPECT_EQ(shownPanel(tabs), step.panel);
    }
    EXPECT_EQ(hpShown(1), "333");
    EXPECT_EQ(image.tabMarker(), 1);
    EXPECT_EQ(selChanges, (std::vector<int>{1, 2, 1}));
    EXPECT_TRUE(tabs.tabBar()->hasFocus());
}

TEST_F(ChannelTabCtrlTest, SwitchToTabGoesBackToChannelOneWithoutRefreshOrNotification) {
    clickTab(tabs, 4);
    selChanges.clear();
    image.setTabMarker(0);
    image.setField(0, 0, ChannelField::hpFrequency, 555);
    tabs.switchToTab(0);
    EXPECT_EQ(tabs.curSel(), 0);
    EXPECT_EQ(tabs.m_nCurrent, 0);
    EXPECT_EQ(shownPanel(tabs), 0);
    EXPECT_EQ(hpShown(0), "20");
    EXPECT_TRUE(selChanges.empty());
    EXPECT_EQ(image.tabMarker(), 0);
}

// Topmost row of text pixels inside tab `index`: pixels far from the fill.
int textTop(const QImage& picture, const QRect& tab, PaletteColour fill) {
    for (int y = tab.top() + 4; y < tab.bottom() - 2; ++y) {
        for (int x = tab.left() + 4; x < tab.right() - 4; ++x) {
            const QColor c = picture.pixelColor(x, y);
            const int d = std::abs(c.red() - fill.red) + std::abs(c.green() - fill.green) +
                          std::abs(c.blue() - fill.blue);
            if (d > 120) {
                return y;
            }
        }
    }
    return -1;
}

TEST_F(ChannelTabCtrlTest, TabsShowTheirChannelColoursAndTheSelectedTextIsRaised) {
    const QImage picture = tabs.tabBar()->grab().toImage();
    for (int i = 0; i < 6; ++i) {
        const QRect tab = tabs.tabBar()->tabRect(i);
        const PaletteColour fill = channelTabColours(i).fill;
        EXPECT_EQ(picture.pixelColor(tab.left() + 4, tab.bottom() - 3),
                  QColor(fill.red, fill.green, fill.blue))
            << i;
    }
    const int selected = textTop(picture, tabs.tabBar()->tabRect(0), channelTabColours(0).fill);
    const int other = textTop(picture, tabs.tabBar()->tabRect(2), channelTabColours(2).fill);
    ASSERT_GE(selected, 0);
    EXPECT_EQ(other - selected, TabEdgeHeight);
    // Tab and curve of a channel share their colour.
    EXPECT_EQ(channelTabColours(3).fill, (PaletteColour{139, 35, 35}));
    EXPECT_EQ(channelTabColours(6).fill, (PaletteColour{255, 255, 255}));
    EXPECT_EQ(tabs.m_crSelectedText, QColor(255, 255, 255));
    EXPECT_EQ(tabs.m_crNormalText, QColor(50, 50, 50)) << "the last tab painted: green";
    // "Ch. 5" on cyan is written in the dark grey, "Ch. 3" on blue in the
    // light one (the text is smoothed: its darkest and lightest pixels).
    auto extremes = [&picture](const QRect& tab) {
        int darkest = 3 * 255;
        int lightest = 0;
        for (int y = tab.top() + 2; y < tab.bottom() - 1; ++y) {
            for (int x = tab.left() + 2; x < tab.right() - 1; ++x) {
                const QColor c = picture.pixelColor(x, y);
                const int sum = c.red() + c.green() + c.blue();
                darkest = std::min(darkest, sum);
                lightest = std::max(lightest, sum);
            }
        }
        return std::pair{darkest, lightest};
    };
    EXPECT_LE(extremes(tabs.tabBar()->tabRect(4)).first, 3 * 60);
    EXPECT_GE(extremes(tabs.tabBar()->tabRect(2)).second, 3 * 150);
}

}  // namespace
