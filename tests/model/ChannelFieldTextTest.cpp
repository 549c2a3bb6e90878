#include <gtest/gtest.h>

#include "model/ChannelFieldText.h"
#include "model/ChannelRecord.h"

namespace {

constexpr int Level = static_cast<int>(ChannelField::level);
constexpr int HpType = static_cast<int>(ChannelField::hpType);
constexpr int Input = static_cast<int>(ChannelField::input);
constexpr int Delay = static_cast<int>(ChannelField::delayTaps);

TEST(ChannelFieldText, NamesAndValuesAsThePanelShowsThem) {
    struct Case {
        int field;
        std::int32_t value;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {Level, -3, "Pegel", "-3 dB"},
        {static_cast<int>(ChannelField::hpFrequency), 15, "Hochpass-Frequenz", "15 Hz"},
        {HpType, 2, "Hochpass-Typ", "Butterworth 12 dB/Oct"},
        {static_cast<int>(ChannelField::lpType), 10, "Tiefpass-Typ", "Code 10"},
        {Input, 2, "Eingang", "L+R"},
        {Input, -1, "Eingang", "Code -1"},
        {Delay, 420, "Verzögerung", "420 Taps (1499.4 mm)"},
        {eqFrequencyField(2), 57, "EQ3 Frequenz", "57 Hz"},
        {eqQField(0), 4, "EQ1 Q", "2"},
        {eqQField(4), 2, "EQ5 Q", "1.0"},  // EQ5 and EQ6 always show a decimal
        {eqQField(4), 22, "EQ5 Q", "0.5 (LowShelf)"},
        {eqQField(5), 21, "EQ6 Q", "0.3 (HighShelf)"},
        {eqQField(3), 21, "EQ4 Q", "Code 21"},  // only EQ5 and EQ6 can shelve
        {eqLevelField(5), -12, "EQ6 Pegel", "-12 dB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(channelFieldName(c.field), c.name) << c.field;
        EXPECT_EQ(channelFieldText(c.field, c.value), c.text) << c.field << ' ' << c.value;
    }
    EXPECT_EQ(channelFieldName(ChannelRecordFieldCount), "");
    EXPECT_EQ(channelFieldName(-1), "");
    EXPECT_EQ(presetChannelText(1, 2), "Preset 2, Kanal 3");
}

}  // namespace
