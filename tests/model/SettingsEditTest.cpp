// How the undo history names a change of the settings, which changes merge,
// and how a step is played back on settings that changed meanwhile.

#include <gtest/gtest.h>

#include <functional>

#include "model/SettingsEdit.h"

namespace {

ParameterImage defaults() {
    ParameterImage image;
    applyDefaults(image);
    return image;
}

TEST(SettingsEdit, NamesTheChangeAndKeysOnlySingleFields) {
    struct Case {
        std::function<void(ParameterImage&)> change;
        const char* name;
        bool keyed;
    };
    const Case cases[] = {
        {[](ParameterImage& i) { i.setField(0, 1, eqLevelField(2), 3); }, "EQ3 Pegel Kanal 2",
         true},
        {[](ParameterImage& i) { i.setField(3, 5, ChannelField::delayTaps, 9); },
         "Verzögerung Kanal 6", true},
        {[](ParameterImage& i) {  // a shelf switched
             i.setField(0, 0, eqFrequencyField(4), 200);
             i.setField(0, 0, eqQField(4), 22);
         },
         "EQ5 Kanal 1", false},
        {[](ParameterImage& i) {
             i.setField(1, 2, ChannelField::level, 1);
             i.setField(1, 2, eqLevelField(0), 1);
         },
         "Kanal 3", false},
        {[](ParameterImage& i) {
             i.setField(2, 3, ChannelField::level, 5);
             i.setField(2, 4, ChannelField::level, 5);
         },
         "Preset 3", false},
        {[](ParameterImage& i) { i.setPlotStartHz(50); }, "Grafikoptionen", false},
        {[](ParameterImage& i) {
             i.setField(0, 0, ChannelField::level, 1);
             i.setField(1, 0, ChannelField::level, 1);
         },
         "Einstellungen", false},
        // The view state is no change of the settings.
        {[](ParameterImage& i) {
             i.setActivePreset(2);
             i.setChannelShown(3, 0);
             i.setRedrawPending(1);
         },
         "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParameterImage after = defaults();
        c.change(after);
        const SettingsEdit edit = describeEdit(defaults(), after);
        EXPECT_EQ(edit.name, c.name);
        EXPECT_EQ(edit.fieldKey != 0, c.keyed);
        EXPECT_EQ(sameSettings(defaults(), after), *c.name == '\0');
    }
    // Every field has a key of its own.
    ParameterImage a = defaults(), b = defaults();
    a.setField(0, 1, 2, 7);
    b.setField(1, 0, 2, 7);
    EXPECT_NE(describeEdit(defaults(), a).fieldKey, describeEdit(defaults(), b).fieldKey);
}

TEST(SettingsEdit, AStepPlayedBackKeepsWhatChangedWithoutOne) {
    ParameterImage before = defaults();
    before.setActivePreset(1);
    ParameterImage after = before;
    after.setField(1, 0, ChannelField::level, -4);

    // Meanwhile: another preset shown, a curve hidden.
    ParameterImage current = after;
    current.setActivePreset(3);
    current.setChannelShown(4, 0);
    current.setRedrawPending(0);

    const ParameterImage undone = replayStep(current, after, before);
    EXPECT_EQ(undone.field(1, 0, ChannelField::level), 0);
    EXPECT_EQ(undone.activePreset(), 1) << "the preset of the change is shown";
    EXPECT_EQ(undone.channelShown(4), 0);
    EXPECT_EQ(undone.redrawPending(), 1);
    const ParameterImage redone = replayStep(undone, before, after);
    EXPECT_EQ(redone.field(1, 0, ChannelField::level), -4);

    EXPECT_TRUE(sameSettings(withSettingsOf(current, before), before));
    EXPECT_EQ(withSettingsOf(current, before).channelShown(4), 0);
}

}  // namespace
