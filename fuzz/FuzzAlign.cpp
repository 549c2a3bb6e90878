// The crossover alignment on any channels, measurements and options.
// Input: a header byte (bit 0: full search instead of the preview; bits 1-3:
// delay, level and crossover may vary; bit 4: a third channel; bit 5: a
// region; bit 6: a fixed target level; bit 7: the crossover's choices
// given), the chosen channels and the held one, the options, then for each
// chosen channel its 26 fields and its measurement (count, first frequency,
// then level, phase and frequency step; a count's top bit drops the phase).
//
// An alignment is refused with a reason and no candidates, or it gives
// finite, ranked scores, keeps the held channel's delay and level, and
// changes only what it may, within the panel's ranges and on the device's
// grid.

#include <cmath>

#include "FuzzChannel.h"
#include "FuzzSupport.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "tuning/CrossoverAlign.h"

namespace {

constexpr std::size_t MostPoints = 400;

Measurement measurementOf(FuzzInput& in) {
    Measurement m;
    const auto raw = in.take<std::uint16_t>();
    const bool phase = (raw & 0x8000) == 0;
    const std::size_t count = raw % (MostPoints + 1);
    double f = 5.0 + in.take<std::uint8_t>() * 4.0;
    while (!in.empty() && m.frequencies.size() < count && f < 1e6) {
        m.frequencies.push_back(f);
        m.db.push_back(80.0 + in.take<std::int8_t>() / 4.0);
        if (phase) m.phaseDegrees.push_back(in.take<std::int16_t>() / 8.0);
        f *= 1.0 + (1 + in.take<std::uint8_t>()) / 256.0;
    }
    return m;
}

bool onGridOrAsBefore(int frequency, int type, int beforeFrequency, int beforeType) {
    if (frequency == beforeFrequency && type == beforeType) return true;
    const int code = frequencyToCode(frequency);
    return code >= 0 && codeToFrequency(code) == frequency && type >= 1 && type <= 9;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const auto header = in.take<std::uint8_t>();
    AlignInput input;
    AlignOptions& o = input.options;
    o.effort = (header & 1) != 0 ? AlignEffort::Full : AlignEffort::Preview;
    o.vary = {(header & 2) != 0, (header & 4) != 0, (header & 8) != 0};
    const int count = (header & 16) != 0 ? 3 : 2;
    for (int k = 0; k < count; ++k)
        input.channels.push_back(in.take<std::uint8_t>() % 7);  // 6: refused
    const auto held = in.take<std::uint8_t>();
    o.held = held == 0xff ? -1 : held % 7;
    if ((header & 32) != 0) {
        const double lo = in.take<std::uint16_t>();
        o.region = FrequencyRange{lo, lo + in.take<std::uint16_t>()};
    }
    if ((header & 64) != 0) o.target.levelDb = 80.0 + in.take<std::int8_t>() / 4.0;
    o.target.followsCrossover = (in.take<std::uint8_t>() & 1) != 0;
    o.candidateCount = in.take<std::uint8_t>() % 8;  // 0: one
    if ((header & 128) != 0) {
        for (int k = in.take<std::uint8_t>() % 4; k > 0; --k)
            o.crossoverTypes.push_back(in.take<std::uint8_t>() % 11);
        for (int k = in.take<std::uint8_t>() % 4; k > 0; --k)
            o.crossoverFrequencies.push_back(codeToFrequency(in.take<std::uint8_t>() % 186));
    }
    for (int c : input.channels) {
        if (c >= ChannelCount) continue;
        input.records[c] = fuzzChannelRecord(in);
        input.measurements[c] = measurementOf(in);
    }

    const AlignResult r = alignCrossover(input);
    if (r.status != AlignStatus::Ok) {
        fuzzCheck(r.status == AlignStatus::Refused && !r.message.empty(), "a refusal says why");
        fuzzCheck(r.candidates.empty(), "a refusal proposes nothing");
        return 0;
    }
    fuzzCheck(!r.candidates.empty(), "an alignment proposes something");
    fuzzCheck(std::isfinite(r.presentScoreDb) && r.presentScoreDb >= 0.0,
              "the present score is a number");
    for (std::size_t k = 0; k < r.candidates.size(); ++k) {
        const AlignCandidate& cand = r.candidates[k];
        fuzzCheck(std::isfinite(cand.scoreDb) && cand.scoreDb >= 0.0, "a score is a number");
        fuzzCheck(k == 0 || r.candidates[k - 1].scoreDb <= cand.scoreDb + 1e-6,
                  "ranked best first");
        fuzzCheck(cand.records.size() == input.channels.size(), "every chosen channel is set");
        for (std::size_t i = 0; i < cand.records.size(); ++i) {
            const int c = input.channels[i];
            const ChannelRecord& a = cand.records[i];
            const ChannelRecord& b = input.records[c];
            fuzzCheck(a.eq == b.eq && a.input == b.input && a.reserved == b.reserved,
                      "equaliser, input and the reserved field stay");
            if (c == r.held) {
                fuzzCheck(a.delayTaps == b.delayTaps && a.level == b.level,
                          "the held channel stays");
            }
            fuzzCheck(a.delayTaps == b.delayTaps ||
                          (o.vary.delay && ParameterLimits::delayTaps(c).contains(a.delayTaps)),
                      "a delay stays or keeps to the delay line");
            fuzzCheck(
                a.level == b.level || (o.vary.level && ParameterLimits::level.contains(a.level)),
                "a level stays or keeps to the panel's range");
            fuzzCheck(onGridOrAsBefore(a.hpFrequency, a.hpType, b.hpFrequency, b.hpType) &&
                          onGridOrAsBefore(a.lpFrequency, a.lpType, b.lpFrequency, b.lpType),
                      "a crossover stays or lies on the device's grid");
        }
    }
    for (const std::string& w : r.warnings) fuzzCheck(!w.empty(), "a warning says something");
    return 0;
}
