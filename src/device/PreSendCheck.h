#pragma once
// The check before a send: every value of the four presets that the device
// would not hold as it is set. A value is found when the wire coding changes
// it, so that a send followed by a receive brings back something else (a
// level of +7 dB comes back as -6 dB, 57 Hz as 55 Hz, a 30 Hz low-pass as
// 0 Hz, a filter type of 256 as 0), or when it travels unchanged as a code
// the device has no setting for (a filter type, input or Q code outside its
// list, a delay longer than the channel's delay line). `reserved` never
// travels and is never a finding.
//
// The window asks before it sends:
//
//     const auto findings = checkBeforeSend(image);
//     if (!findings.empty() &&
//         !askYesNo(preSendMessage(findings), PreSendTitle, /*default*/ No)) return;
//
// filtaro-cli send refuses unless --force is given.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ParameterImage;

enum class SendFindingKind {
    Changed,          // the device gets another value: `arrives`
    UnknownCode,      // travels as it is, but no item of the device's list stands for it
    BeyondDelayLine,  // travels as it is, but the channel's delay line is shorter
};

struct SendFinding {
    int preset = 0;   // 0..3
    int channel = 0;  // 0..5
    int field = 0;    // ChannelRecord field 0..25, never `reserved`
    std::int32_t stored = 0;
    std::int32_t arrives = 0;  // what a receive brings back
    SendFindingKind kind = SendFindingKind::Changed;
    friend bool operator==(const SendFinding&, const SendFinding&) = default;
};

// All findings, in the order preset, channel, field.
std::vector<SendFinding> checkBeforeSend(const ParameterImage& image);

// The value as set, in the panel's units ("7 dB").
std::string findingStoredText(const SendFinding& finding);
// What the device gets: "-6 dB", "Code 12 (kennt das Gerät nicht)"; for a
// delay beyond the line "die Verzögerungsleitung fasst höchstens 420".
std::string findingDeviceText(const SendFinding& finding);
// "Preset 1, Kanal 1, Pegel: 7 dB → -6 dB", or for a delay beyond the line
// "Preset 1, Kanal 1, Verzögerung: 2801 Taps, die Verzögerungsleitung fasst
// höchstens 420".
std::string findingLine(const SendFinding& finding);

constexpr std::size_t PreSendListLines = 12;
constexpr const char* PreSendTitle = "Achtung";
constexpr const char* PreSendQuestion = "Trotzdem senden?";

// "Diese 3 Werte kann das Gerät nicht so übernehmen, wie sie eingestellt
// sind" (or the sentence for one value), without a closing mark.
std::string preSendIntro(std::size_t count);

// One finding a line, at most `maxLines` of them, then "… und N weitere".
std::string preSendList(const std::vector<SendFinding>& findings,
                        std::size_t maxLines = PreSendListLines);
// The intro, the list and the question, for the box that asks whether to
// send anyway (with "Nein" as its default button).
std::string preSendMessage(const std::vector<SendFinding>& findings);
