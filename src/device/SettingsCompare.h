#pragma once
// Where two sets of settings differ, field by field, as a table of preset,
// channel, setting and the two values in the panel's units. Only what travels
// to the device counts: the header and every `reserved` field are left out.
//
// The comparison with the device and the check after a send (DeviceCompare.h)
// produce these tables; the window shows them in a dialog, filtaro-cli
// prints them.

#include <array>
#include <string>
#include <vector>

#include "device/WireImage.h"

class ParameterImage;

struct FieldDifference {
    int preset = 0;      // 0..3
    int channel = 0;     // 0..5
    int field = 0;       // ChannelRecord field, never `reserved`
    std::string here;    // in the program (or as sent), in the panel's units
    std::string device;  // on the device
    friend bool operator==(const FieldDifference&, const FieldDifference&) = default;
};

// Fields 0..4 and 6..25 of the 24 records that differ, in the order preset,
// channel, field.
std::vector<FieldDifference> compareSettings(const ParameterImage& here,
                                             const ParameterImage& device);

// Byte for byte: every field whose bytes differ between the block that was
// sent and the block the device holds, each side shown as it decodes. When
// two different bytes decode to the same value (codes outside the device's
// tables all read as 0 Hz or 0 dB), the byte is added: "0 dB (Byte 13)".
std::vector<FieldDifference> compareWireImages(const WireImage& sent, const WireImage& stored);

constexpr const char* SettingsEqualText = "Gerät und Programm stimmen überein.";

// Column heads of the two tables: the comparison with the device, and the
// check after a send.
constexpr std::array<const char*, 5> CompareColumns = {"Preset", "Kanal", "Einstellung",
                                                       "Im Programm", "Im Gerät"};
constexpr std::array<const char*, 5> VerifyColumns = {"Preset", "Kanal", "Einstellung", "Gesendet",
                                                      "Im Gerät"};
