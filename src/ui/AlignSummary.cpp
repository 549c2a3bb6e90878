#include "ui/AlignSummary.h"

#include <cstdlib>

#include "model/ChannelFieldText.h"
#include "model/DelayUnits.h"
#include "response/ChannelResponse.h"
#include "ui/FitSummary.h"

namespace {

std::string signedWhole(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

std::string frequencyChange(const char* name, int before, int after) {
    if (before == after) return {};
    return std::string(name) + " " + std::to_string(before) + " → " + std::to_string(after) + " Hz";
}

std::string typeChange(const char* name, int field, int before, int after) {
    if (before == after) return {};
    return std::string(name) + " " + channelFieldText(field, after);
}

}  // namespace

std::string delayChangeText(int beforeTaps, int afterTaps) {
    const int change = afterTaps - beforeTaps;
    if (change == 0) return {};
    const int size = std::abs(change);
    return signedWhole(change) + (size == 1 ? " Tap (" : " Taps (") +
           germanDecimal(size * MmPerTap / 10.0, 1) + " cm / " +
           germanDecimal(delayMilliseconds(size), 2) + " ms " +
           (change > 0 ? "später)" : "früher)");
}

std::vector<std::string> candidateLines(const std::vector<int>& channels, int held,
                                        const std::vector<ChannelRecord>& before,
                                        const std::vector<ChannelRecord>& after) {
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < channels.size() && k < before.size() && k < after.size(); ++k) {
        const ChannelRecord& b = before[k];
        const ChannelRecord& a = after[k];
        std::vector<std::string> parts;
        const auto add = [&parts](std::string part) {
            if (!part.empty()) parts.push_back(std::move(part));
        };
        add(delayChangeText(b.delayTaps, a.delayTaps));
        if (b.level != a.level) {
            add("Pegel " + signedWhole(b.level) + " → " + signedWhole(a.level) + " dB");
        }
        add(frequencyChange("Hochpass", b.hpFrequency, a.hpFrequency));
        add(typeChange("Hochpass", int(ChannelField::hpType), b.hpType, a.hpType));
        add(frequencyChange("Tiefpass", b.lpFrequency, a.lpFrequency));
        add(typeChange("Tiefpass", int(ChannelField::lpType), b.lpType, a.lpType));
        if (parts.empty() && channels[k] == held) continue;  // said once above the list
        std::string line = "Kanal " + std::to_string(channels[k] + 1) + ": ";
        if (parts.empty()) {
            line += "unverändert";
        } else {
            for (std::size_t i = 0; i < parts.size(); ++i) line += (i ? ", " : "") + parts[i];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

int alignSumSide(const std::array<ChannelRecord, ChannelCount>& records,
                 const std::vector<int>& channels) {
    for (int c : channels) {
        if (c >= 0 && c < ChannelCount && records[static_cast<std::size_t>(c)].input == 1) {
            return 1;
        }
    }
    return 0;
}

PlotPreview alignPreview(const AlignInput& input, const std::vector<ChannelRecord>& candidate,
                         int rank, double offsetDb) {
    PlotPreview preview;
    const std::string name = "Vorschlag " + std::to_string(rank);
    const AlignEvaluation now = evaluateAlignment(input, [&] {
        std::vector<ChannelRecord> records;
        for (int c : input.channels) records.push_back(input.records[static_cast<std::size_t>(c)]);
        return records;
    }());
    if (now.ok) {
        const AlignEvaluation chosen = evaluateAlignment(input, candidate);
        if (!chosen.ok) return preview;
        const int id = PlotSumCurve + alignSumSide(input.records, input.channels);
        const auto moved = [offsetDb](std::vector<double> db) {
            for (double& v : db) v += offsetDb;
            return db;
        };
        preview.push_back({id, CurveStroke::Solid, ResponseQuantity::Magnitude, "Summe jetzt",
                           now.hz, moved(now.sumDb)});
        preview.push_back({id, CurveStroke::Dashed, ResponseQuantity::Magnitude, name, now.hz,
                           moved(chosen.sumDb)});
        return preview;
    }
    // Without phase: each driver as the candidate sets its channel.
    for (std::size_t k = 0; k < input.channels.size() && k < candidate.size(); ++k) {
        const int c = input.channels[k];
        const Measurement& m = input.measurements[static_cast<std::size_t>(c)];
        if (m.frequencies.empty()) continue;
        ChannelResponse response;
        computeChannelResponse(candidate[k], response);
        preview.push_back({c, CurveStroke::Dashed, ResponseQuantity::Magnitude,
                           name + " Kanal " + std::to_string(c + 1), m.frequencies,
                           predictedDb(m, response, offsetDb)});
    }
    return preview;
}
