// The check before a send: one case per kind of value the device would not
// hold as it is set, and the list the window and filtaro-cli show.

#include <gtest/gtest.h>

#include <algorithm>

#include "device/PreSendCheck.h"
#include "model/ParameterImage.h"

namespace {

ParameterImage defaults() {
    ParameterImage image;
    applyDefaults(image);
    return image;
}

TEST(PreSendCheck, FindsEachKindOfValueTheDeviceWouldNotHold) {
    struct Case {
        int preset, channel, field;
        std::int32_t value;
        SendFindingKind kind;
        std::int32_t arrives;
        const char* line;
    };
    using K = SendFindingKind;
    const int level = static_cast<int>(ChannelField::level);
    const int delay = static_cast<int>(ChannelField::delayTaps);
    const int hp = static_cast<int>(ChannelField::hpFrequency);
    const int lp = static_cast<int>(ChannelField::lpFrequency);
    const int hpType = static_cast<int>(ChannelField::hpType);
    const int lpType = static_cast<int>(ChannelField::lpType);
    const int input = static_cast<int>(ChannelField::input);
    const Case cases[] = {
        {1, 1, level, 7, K::Changed, -6, "Preset 2, Kanal 2, Pegel: 7 dB → -6 dB"},
        {0, 0, delay, 2801, K::BeyondDelayLine, 2801,
         "Preset 1, Kanal 1, Verzögerung: 2801 Taps, die Verzögerungsleitung fasst höchstens "
         "420"},
        {0, 4, delay, 70000, K::Changed, 4464,
         "Preset 1, Kanal 5, Verzögerung: 70000 Taps (249900.0 mm) → 4464 Taps (15936.5 mm)"},
        {2, 3, hp, 57, K::Changed, 55, "Preset 3, Kanal 4, Hochpass-Frequenz: 57 Hz → 55 Hz"},
        {3, 5, lp, 30, K::Changed, 0, "Preset 4, Kanal 6, Tiefpass-Frequenz: 30 Hz → 0 Hz"},
        {0, 2, eqFrequencyField(2), 19, K::Changed, 0,
         "Preset 1, Kanal 3, EQ3 Frequenz: 19 Hz → 0 Hz"},
        {0, 0, hpType, 12, K::UnknownCode, 12,
         "Preset 1, Kanal 1, Hochpass-Typ: Code 12 → Code 12 (kennt das Gerät nicht)"},
        {0, 0, lpType, 256, K::Changed, 0, "Preset 1, Kanal 1, Tiefpass-Typ: Code 256 → Off"},
        {1, 0, input, 3, K::UnknownCode, 3,
         "Preset 2, Kanal 1, Eingang: Code 3 → Code 3 (kennt das Gerät nicht)"},
        {0, 1, eqQField(0), 21, K::UnknownCode, 21,
         "Preset 1, Kanal 2, EQ1 Q: Code 21 → Code 21 (kennt das Gerät nicht)"},
        {0, 1, eqQField(1), 0, K::Changed, 256, "Preset 1, Kanal 2, EQ2 Q: Code 0 → Code 256"},
        {0, 1, eqLevelField(3), 7, K::Changed, -12, "Preset 1, Kanal 2, EQ4 Pegel: 7 dB → -12 dB"},
    };
    for (const Case& c : cases) {
        ParameterImage image = defaults();
        image.setField(c.preset, c.channel, c.field, c.value);
        const std::vector<SendFinding> findings = checkBeforeSend(image);
        ASSERT_EQ(findings.size(), 1u) << c.line;
        EXPECT_EQ(findings[0],
                  (SendFinding{c.preset, c.channel, c.field, c.value, c.arrives, c.kind}))
            << c.line;
        EXPECT_EQ(findingLine(findings[0]), c.line);
    }
}

TEST(PreSendCheck, ValuesThePanelsCanSetAndTheReservedFieldPass) {
    ParameterImage image = defaults();
    image.setField(0, 4, ChannelField::delayTaps, 2801);  // channels 5 and 6 have the long line
    image.setField(1, 5, eqFrequencyField(5), 15000);
    image.setField(1, 5, eqQField(5), 23);
    image.setField(2, 0, ChannelField::hpType, 9);
    image.setField(2, 0, ChannelField::lpFrequency, 19500);
    image.setField(3, 3, ChannelField::level, -6);
    image.setField(3, 3, ChannelField::input, 2);
    image.setField(3, 3, ChannelField::reserved, 12345);  // never sent
    EXPECT_TRUE(checkBeforeSend(image).empty());
}

TEST(PreSendCheck, TheQuestionListsTwelveAndCountsTheRest) {
    ParameterImage image = defaults();
    for (int c = 0; c < ChannelCount; ++c) {
        image.setField(0, c, ChannelField::level, 7);
        image.setField(3, c, ChannelField::hpFrequency, 57);
    }
    image.setField(3, 5, eqLevelField(0), -13);
    const std::vector<SendFinding> findings = checkBeforeSend(image);
    ASSERT_EQ(findings.size(), 13u);
    EXPECT_EQ(findingLine(findings.back()), "Preset 4, Kanal 6, EQ1 Pegel: -13 dB → -12 dB");

    const std::string message = preSendMessage(findings);
    EXPECT_EQ(message.rfind("Diese 13 Werte kann das Gerät nicht so übernehmen, wie sie "
                            "eingestellt sind:\n\nPreset 1, Kanal 1, Pegel: 7 dB → -6 dB\n",
                            0),
              0u)
        << message;
    EXPECT_NE(message.find("\nPreset 4, Kanal 6, Hochpass-Frequenz: 57 Hz → 55 Hz\n"
                           "… und 1 weitere\n\nTrotzdem senden?"),
              std::string::npos)
        << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 2 + 12 + 2);

    EXPECT_EQ(preSendList(findings, 0), "… und 13 weitere");
    EXPECT_EQ(preSendIntro(1),
              "Diesen Wert kann das Gerät nicht so übernehmen, wie er eingestellt ist");
}

}  // namespace
