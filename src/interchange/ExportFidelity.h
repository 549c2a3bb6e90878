#pragma once
// What another program plays of an export, set against the device's model
// of the same channel: the largest difference in dB from 20 Hz to 20 kHz,
// and where it grows beyond 1 dB (near half a sample rate a program's
// biquads fall far below the analog model). Internal to the exports.

#include <string>
#include <vector>

#include "interchange/ExportSections.h"
#include "interchange/FilterDefinitions.h"

// The sections as the target program plays them: analog (a program whose
// sample rate is not known, such as REW) or as biquads at `sampleRate`.
struct PlayedChannel {
    double sampleRate = 0.0;  // 0: analog
    std::vector<AnalogBiquad> analog;
    std::vector<Biquad> digital;
};

struct ExportFidelity {
    double maxDb = 0.0;        // 20 Hz .. 20 kHz
    double beyondHz = 0.0;     // the lowest frequency more than 1 dB off; 0: none
    double maxBelowDb = 0.0;   // below beyondHz
    double maxBeyondDb = 0.0;  // from beyondHz on
};

// Against the device's model of every section of `record` whose values are usable.
ExportFidelity measureFidelity(const ChannelRecord& record, const PlayedChannel& played);

// "Kanal 1: bis 20 kHz innerhalb 0.02 dB bei 48 kHz" or
// "Kanal 1: bis 15 kHz innerhalb 0.3 dB; oberhalb 15 kHz bis 19.8 dB Abweichung bei 48 kHz".
std::string fidelityLine(const ExportChannel& channel, const ExportFidelity& fidelity,
                         double sampleRate);
