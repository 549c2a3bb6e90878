#include <gtest/gtest.h>

#include "res/DialogTemplate.h"
#include "res/DialogTemplates.h"

namespace {

TEST(DialogUnits, ConvertWithTheDialogFontsBaseUnitsRoundingHalfUp) {
    EXPECT_EQ(dluToPixelsX(1), 2);      // 1.5
    EXPECT_EQ(dluToPixelsX(7), 11);     // 10.5
    EXPECT_EQ(dluToPixelsX(586), 879);  // 879.0
    EXPECT_EQ(dluToPixelsY(4), 7);      // 6.5
    EXPECT_EQ(dluToPixelsY(14), 23);    // 22.75
    EXPECT_EQ(dluToPixelsY(298), 484);  // 484.25
    EXPECT_EQ(dluToPixelsX(-7), -11);   // symmetric for the rare negative offset
    // 7 and 8 dlu wide at x 1 and x 2: each size converts on its own.
    EXPECT_EQ(dluToPixels(1, 1, 7, 12), (PixelRect{2, 2, 11, 20}));
    EXPECT_EQ(dluToPixels(2, 4, 7, 12), (PixelRect{3, 7, 11, 20}));
    EXPECT_EQ(dialogFontPixelHeight(8), 11);
}

TEST(DialogTemplates, ControlsAreWhereTheyWereDrawn) {
    const ControlRow* send = mainFormTemplate.find(1000);
    ASSERT_NE(send, nullptr);
    EXPECT_EQ(dluToPixels(*send), (PixelRect{786, 418, 83, 55}));

    const ControlRow* list = comPortTemplate.find(1007);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, ControlKind::DropList);
    EXPECT_EQ(dluToPixels(*list), (PixelRect{99, 20, 74, 184}));

    const ControlRow* lowShelf = channelPanelTemplate.find(1068);
    ASSERT_NE(lowShelf, nullptr);
    EXPECT_EQ(dluToPixels(*lowShelf), (PixelRect{219, 257, 80, 16}));

    const ControlRow* target6 = copyChannelTemplate.find(1080);
    ASSERT_NE(target6, nullptr);
    EXPECT_EQ(std::string(target6->text), "Kanal 6");
    EXPECT_EQ(dluToPixels(*target6), (PixelRect{138, 180, 60, 16}));

    EXPECT_EQ(graphOptionsTemplate.find(1169)->y, 36);
    EXPECT_EQ(std::string(copyPresetTemplate.find(IdCancel)->text), "Schließen");
    EXPECT_EQ(mainFormTemplate.find(UnnamedControl), nullptr);
}

// Every template is found by its resource id, names each control once, and
// puts every spin right after an edit: the spin takes the control before it
// as its buddy, so a template that breaks this leaves a spin without its field.
TEST(DialogTemplates, RegistryIdsAndSpinBuddies) {
    int spins = 0;
    for (int id : {100, 101, 132, 150, 156, 166, 177, 185}) {
        const DialogTemplate* t = findDialogTemplate(id);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(t->id, id);
        EXPECT_FALSE(t->rows.empty());
        for (std::size_t i = 0; i < t->rows.size(); ++i) {
            for (std::size_t j = i + 1; j < t->rows.size(); ++j) {
                if (t->rows[i].id != UnnamedControl) {
                    EXPECT_NE(t->rows[i].id, t->rows[j].id) << "template " << id;
                }
            }
            if (t->rows[i].kind == ControlKind::Spin) {
                ++spins;
                ASSERT_GT(i, 0u);
                EXPECT_EQ(t->rows[i - 1].kind, ControlKind::Edit) << "spin " << t->rows[i].id;
                EXPECT_NE(t->rows[i].style & StyleAutoBuddy, 0u);
            }
        }
    }
    EXPECT_EQ(spins, 10);
    EXPECT_EQ(findDialogTemplate(999), nullptr);
}

}  // namespace
