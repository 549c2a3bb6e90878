#pragma once
// What the Qt suites do with the channel tabs: click a tab as the user does,
// and ask which panel is shown (exactly one must be).

#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>

#include "model/ParameterImage.h"
#include "ui/CChannelPanel.h"
#include "ui/CChannelTabCtrl.h"

inline void clickTab(CChannelTabCtrl& tabs, int index) {
    QTest::mouseClick(tabs.tabBar(), Qt::LeftButton, {}, tabs.tabBar()->tabRect(index).center());
}

inline int shownPanel(const CChannelTabCtrl& tabs) {
    int shown = -1;
    for (int c = 0; c < ChannelCount; ++c) {
        if (tabs.m_apPanels[static_cast<std::size_t>(c)]->isVisibleTo(&tabs)) {
            EXPECT_EQ(shown, -1) << "panels " << shown << " and " << c << " both shown";
            shown = c;
        }
    }
    return shown;
}
