#pragma once
// Knowing what is on the device: the comparison of the settings in the
// program with the device's block, and the check after a send that the device
// holds what was sent. Both receive the block like the Receive button does
// (the one message "Schnittstelle antwortet nicht!" on failure) and leave the
// program's settings as they are.
//
// The window's compare command:
//
//     auto result = std::make_unique<DeviceComparison>();
//     if (compareWithDevice(image, port, *result) == CommOk) {
//         // result->differences empty: SettingsEqualText; else a table with
//         // CompareColumns; "take the device's settings" copies result->device.
//     }
//
// After a send (and its pause), when the user keeps the check switched on:
//
//     std::vector<FieldDifference> differences;
//     if (verifySentPresets(image, port, differences) == CommOk && !differences.empty()) {
//         // the table with VerifyColumns, titled VerifyFailedTitle
//     }

#include <vector>

#include "device/CommError.h"
#include "device/SettingsCompare.h"
#include "device/WireImage.h"
#include "model/ParameterImage.h"

class BytePort;

struct DeviceComparison {
    // The program's image with the device's records decoded into it: what a
    // receive would make of it (and what taking the device's settings gives).
    ParameterImage device;
    std::vector<FieldDifference> differences;
};

// Receives the device's block into a copy of `here` and compares the two.
// On failure `result` is left as it was.
CommErrorCode compareWithDevice(const ParameterImage& here, BytePort& port,
                                DeviceComparison& result);

// Receives the device's block and compares it byte for byte with the block a
// send of `image` puts on the line. With `device`, also gives what the device
// holds: `image` with the received block decoded into it. On failure
// `differences` and `device` are left as they were.
CommErrorCode verifySentPresets(const ParameterImage& image, BytePort& port,
                                std::vector<FieldDifference>& differences,
                                ParameterImage* device = nullptr);
// The same for the block `sent` a send of `image` put on the line.
CommErrorCode verifySentPresets(const WireImage& sent, const ParameterImage& image, BytePort& port,
                                std::vector<FieldDifference>& differences,
                                ParameterImage* device = nullptr);

// What taking the device's settings after a comparison is called: the
// compare dialog's button and the undo step.
constexpr const char* TakeDeviceSettingsText = "Einstellungen des Geräts übernehmen";

// The status text while the block is read back after a send.
constexpr const char* VerifyingText = "Gesendete Daten werden geprüft";
constexpr const char* VerifyFailedTitle = "Achtung";
constexpr const char* VerifyFailedText =
    "Das Gerät hat nicht übernommen, was gesendet wurde. Diese Werte weichen ab:";
