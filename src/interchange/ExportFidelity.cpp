#include "interchange/ExportFidelity.h"

#include <algorithm>
#include <cmath>

#include "interchange/DecimalText.h"

namespace {

// A difference beyond this is named with the frequency where it begins.
constexpr double NoticeableDb = 1.0;
constexpr int PointsPerDecade = 1000;

std::string frequencyText(double hz) {
    return hz >= 1000.0 ? formatDecimal(hz / 1000.0, 1) + " kHz" : formatDecimal(hz, 0) + " Hz";
}

std::string dbText(double db) {
    return formatDecimal(std::max(db, 0.01), 2) + " dB";
}

}  // namespace

ExportFidelity measureFidelity(const ChannelRecord& record, const PlayedChannel& played) {
    std::vector<AnalogBiquad> device;
    for (const ExportSection& s : channelSections(record, false)) {
        if (hasUsableValues(s.section)) device.push_back(analogPrototype(s.section));
    }
    ExportFidelity out;
    for (int k = 0; k <= 3 * PointsPerDecade; ++k) {
        const double f = 20.0 * std::pow(10.0, static_cast<double>(k) / PointsPerDecade);
        double db = productDb(played.analog, f) - productDb(device, f);
        for (const Biquad& b : played.digital) db += magnitudeDb(b, f, played.sampleRate);
        const double d = std::isfinite(db) ? std::fabs(db) : 1000.0;
        out.maxDb = std::max(out.maxDb, d);
        if (out.beyondHz == 0.0 && d > NoticeableDb) out.beyondHz = f;
        double& part = out.beyondHz == 0.0 ? out.maxBelowDb : out.maxBeyondDb;
        part = std::max(part, d);
    }
    return out;
}

std::string fidelityLine(const ExportChannel& channel, const ExportFidelity& f, double sampleRate) {
    std::string s = channelLabel(channel) + ": ";
    if (f.beyondHz == 0.0) {
        s += "bis 20 kHz innerhalb " + dbText(f.maxDb);
    } else if (f.beyondHz <= 20.0) {
        s += "von 20 Hz bis 20 kHz bis " + dbText(f.maxDb) + " Abweichung";
    } else {
        s += "bis " + frequencyText(f.beyondHz) + " innerhalb " + dbText(f.maxBelowDb) +
             "; oberhalb " + frequencyText(f.beyondHz) + " bis " + dbText(f.maxBeyondDb) +
             " Abweichung";
    }
    if (sampleRate > 0.0) s += " bei " + frequencyText(sampleRate);
    return s;
}
