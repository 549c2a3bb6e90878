#pragma once
// One field of a ChannelRecord as the user meets it in a list or a table
// (the check before a send, the comparison with the device): its name as the
// panel labels the value, and the value in the panel's units and list texts.

#include <cstdint>
#include <string>

// "Pegel", "Hochpass-Frequenz", "Hochpass-Typ", "Tiefpass-Frequenz",
// "Tiefpass-Typ", "Reserviert", "Eingang", "Verzögerung", and for EQ1..EQ6
// "EQ1 Frequenz", "EQ1 Q", "EQ1 Pegel"; "" for a field outside 0..25.
std::string channelFieldName(int field);

// The value of `field` as the panel shows it: "-3 dB", "2000 Hz",
// "Butterworth 12 dB/Oct", "L+R", "420 Taps (1499.4 mm)", "1.5"; a shelving Q
// names its shelf ("0.5 (LowShelf)"), since the same Q without it is a
// peaking band. A code that no list item stands for reads "Code 12".
std::string channelFieldText(int field, std::int32_t value);

// Band `e` (0..5) in one line: "1000 Hz, -3 dB, Q 1.5", a shelf naming
// itself in its Q ("Q 0.5 (LowShelf)"), a gain with its sign.
struct EqBand;
std::string eqBandText(const EqBand& band, int e);

// "Preset 2, Kanal 3" for preset index 1 and channel index 2.
std::string presetChannelText(int preset, int channel);
