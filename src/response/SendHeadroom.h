#pragma once
// The headroom check over everything a send puts on the device: all four
// presets, not only the one on screen. The send command warns before it
// sends (and sends all the same):
//
//     if (const auto excess = firstAboveHeadroom(image)) {
//         messageBox(headroomWarning(*excess), HeadroomWarningTitle, Warning);
//     }

#include <optional>
#include <string>

#include "model/ParameterImage.h"

struct HeadroomExcess {
    int preset = 0;   // 0..3
    int channel = 0;  // 0..5
    friend bool operator==(const HeadroomExcess&, const HeadroomExcess&) = default;
};

// The first preset and, in it, the first channel (counted from preset 1,
// channel 1) whose response rises above HeadroomLimitDb at any grid point;
// nothing when all 24 stay at or below it.
std::optional<HeadroomExcess> firstAboveHeadroom(const ParameterImage& image);

constexpr const char* HeadroomWarningText =
    "Equalizer-Level zu hoch! Dies kann zu Verzerrungen führen.";
constexpr const char* HeadroomWarningTitle = "Achtung";

// The warning and, on a second line, where it starts:
// "Zuerst über +12 dB: Preset 2, Kanal 3."
std::string headroomWarning(const HeadroomExcess& excess);
