// How the assistant searches, and why.
//
// For two channels the search is exhaustive: every tap of the varying
// channel's delay line, every whole-dB level and every crossover choice is
// scored, about 110 000 settings for a full delay line, 13 levels and 20
// crossover choices. That is cheap because a setting changes the sum in a
// way that can be taken apart:
//
// 1. Each crossover choice is evaluated once with the response model itself
//    (computeComplexResponses, with the varying channel at 0 dB and no
//    delay), and the measured drivers multiplied in: the fixed channels add
//    up to R, the varying one is A.
// 2. A delay of d taps turns A by e^(-j 2 pi f d t) (t: one tap), and a level
//    scales it by g, so |R + g A e^(...)|^2 = |R|^2 + g^2 |A|^2
//    + 2 g Re(conj(R) A e^(...)): one complex product per point and delay,
//    and three additions per point and level.
// 3. What remains per point is one logarithm (and a second one where the sum
//    falls below the power sum).
//
// The candidates are the local minima of the score over the delay (each
// delay with its best level), one per summation lobe: a candidate within
// half a period of a better one, with the same crossover, is the same
// solution. Two lobes a period apart can score alike when the measurements
// cover the crossover badly or carry reflections; then the assistant warns
// instead of picking one silently. The candidates are scored once more with
// their whole records through the response model, and ranked by that score;
// equal scores go to the setting nearest to the present one.
//
// For three channels the channels that are not held are searched in turn
// (the one next to the held channel first, each with the crossover towards
// the held side), each pass starting from the best so far, until a pass
// changes nothing (at most three passes); the candidates are those of the
// last channel searched.
//
// A driver connected the wrong way round (180 degrees) cannot be mended by
// the device, which has no polarity switch: the assistant searches once more
// with that driver turned, and if that would be clearly better, says that
// only delay and crossover type can help.
//
// The preview searches every few taps (an eighth of the crossover's period),
// each delay's level walked from the last one's while the score falls, and
// then every tap, with every level, around the best lobes.

#include "tuning/CrossoverAlign.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "interchange/DecimalText.h"
#include "model/DelayUnits.h"
#include "model/FrequencyGrid.h"
#include "model/ParameterLimits.h"
#include "response/ComplexResponse.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "tuning/AlignProblem.h"
#include "tuning/AlignmentChecks.h"
#include "tuning/MeasuredSum.h"

namespace {

// A turned driver must beat the best as connected by this much to be named.
constexpr double PolarityMarginDb = 0.1;
// Lobes one period apart (within a quarter period) whose scores differ by
// less than this are a warning.
constexpr double LobeMarginDb = 0.5;
constexpr int MaxPasses = 3;
// The present setting stays the answer of its lobe unless another is
// better by this much: nobody should move a driver for a hundredth of a dB.
constexpr double KeepMarginDb = 0.01;
// Scores closer than this are equal (the model's single-precision curves
// differ by less), so that rounding never decides between equal settings.
constexpr double ScoreResolutionDb = 1e-6;

long long scoreKey(double score) {
    return std::llround(std::min(score, 1e6) / ScoreResolutionDb);
}
constexpr int MaxCandidates = 50;
// The preview refines this many comb minima beyond the candidates asked for.
constexpr int PreviewSpareMinima = 4;
// Where a channel's own crossover passes, for matching levels without phase.
constexpr double PassbandEdgeDb = -6.0;

struct Evaluated {
    double score = INFINITY;
    int level = 0;
};

struct Candidate {
    double score = 0.0;
    int choice = 0;  // index into the junction's choices; 0 = as set
    int delay = 0;
    int level = 0;
};

// One channel's search: its crossover choices, delays and levels, and the
// tables of step 1 for each choice.
class Stage {
public:
    Stage(const AlignProblem& p, const std::array<ChannelRecord, ChannelCount>& state, int channel,
          const AlignJunction& junction, std::vector<CrossoverChoice> choices, double sign)
        : m_p(p), m_choices(std::move(choices)) {
        const std::size_t n = p.hz.size();
        auto responses = std::make_unique<ComplexResponses>();
        m_tables.resize(m_choices.size());
        for (std::size_t o = 0; o < m_choices.size(); ++o) {
            std::array<ChannelRecord, ChannelCount> records = state;
            applyChoice(junction, m_choices[o], records);
            records[channel].level = 0;
            records[channel].delayTaps = 0;
            computeComplexResponses(records, *responses);
            Table& t = m_tables[o];
            t.b.resize(n);
            t.c0.resize(n);
            t.c1.resize(n);
            t.restPower.assign(n, 0.0);
            for (std::size_t i = 0; i < n; ++i) {
                const int j = p.first + static_cast<int>(i);
                std::complex<double> rest{0.0, 0.0};
                for (int c : p.order) {
                    if (c == channel) continue;
                    const std::complex<double> v =
                        p.measured[c][i] * channelValue(responses->channels[c], j);
                    rest += v;
                    t.restPower[i] += std::norm(v);
                }
                const std::complex<double> a =
                    sign * p.measured[channel][i] * channelValue(responses->channels[channel], j);
                t.b[i] = std::conj(rest) * a;
                t.c0[i] = std::norm(rest);
                t.c1[i] = std::norm(a);
            }
        }
    }

    std::size_t choiceCount() const { return m_choices.size(); }
    const CrossoverChoice& choice(int o) const { return m_choices[o]; }

    // The best of `levels` for choice o at delay d (any integer, also
    // beyond the delay line). With `walk`, the levels (a run of whole dB) are
    // walked from `start` while the score falls, instead of all tried.
    Evaluated evaluate(int o, int d, const std::vector<int>& levels, bool walk = false,
                       int start = 0) const {
        const Table& t = m_tables[o];
        const std::size_t n = m_p.hz.size();
        m_cross.resize(n);
        const double turnsPerHz = -static_cast<double>(d) * SecondsPerTap;
        for (std::size_t i = 0; i < n; ++i) {
            const double turns = std::remainder(m_p.hz[i] * turnsPerHz, 1.0);
            const std::complex<double> rot = std::polar(1.0, 2.0 * std::numbers::pi * turns);
            m_cross[i] = 2.0 * (t.b[i] * rot).real();
        }
        const auto score = [&](int level) {
            const double g = std::pow(10.0, level / 20.0);
            AlignScorer scorer(m_p);
            for (std::size_t i = 0; i < n; ++i) {
                const double own = g * g * t.c1[i];
                scorer.add(static_cast<int>(i), t.c0[i] + own + g * m_cross[i],
                           t.restPower[i] + own);
            }
            return Evaluated{scorer.scoreDb(), level};
        };
        if (walk && levels.size() > 1) {
            const int lo = levels.front();
            const int hi = levels.back();
            Evaluated best = score(std::clamp(start, lo, hi));
            for (const int step : {-1, 1}) {
                for (int level = best.level + step; level >= lo && level <= hi; level += step) {
                    const Evaluated e = score(level);
                    if (!(e.score < best.score)) break;
                    best = e;
                }
            }
            return best;
        }
        Evaluated best;
        for (int level : levels) {
            const Evaluated e = score(level);
            if (e.score < best.score) best = e;
        }
        return best;
    }

private:
    struct Table {
        std::vector<std::complex<double>> b;  // conj(R) A
        std::vector<double> c0;               // |R|^2
        std::vector<double> c1;               // |A|^2
        std::vector<double> restPower;
    };
    const AlignProblem& m_p;
    std::vector<CrossoverChoice> m_choices;
    std::vector<Table> m_tables;
    mutable std::vector<double> m_cross;
};

double periodTaps(double hz) {
    return 1.0 / (hz * SecondsPerTap);
}

// The grid frequencies nearest to f * 2^(k/12), k = 0, -1, 1, ... -6, 6,
// that both filters can take: the nearest first.
std::vector<int> nearbyFrequencies(double f) {
    std::vector<int> out;
    for (int step = 0; step <= 12; ++step) {
        const int k = step % 2 == 0 ? step / 2 : -(step + 1) / 2;
        const double want = f * std::pow(2.0, k / 12.0);
        int best = 0;
        for (int g : frequencyGrid()) {
            if (!ParameterLimits::hpFrequency.contains(g) ||
                !ParameterLimits::lpFrequency.contains(g))
                continue;
            if (best == 0 || std::fabs(std::log(g / want)) < std::fabs(std::log(best / want)))
                best = g;
        }
        if (best != 0 && std::find(out.begin(), out.end(), best) == out.end()) out.push_back(best);
    }
    return out;
}

// The present type and the device's other types of its slope.
std::vector<int> typesOfSlope(int type) {
    std::vector<int> out{type};
    for (int t = 1; t <= 9; ++t) {
        if (t != type && filterOrder(t) == filterOrder(type)) out.push_back(t);
    }
    return out;
}

std::vector<CrossoverChoice> choicesFor(const AlignProblem& p, const AlignJunction& j,
                                        const std::array<ChannelRecord, ChannelCount>& state,
                                        const AlignOptions& o, bool vary) {
    const CrossoverChoice present = choiceOf(p, j, state);
    std::vector<CrossoverChoice> out{present};
    if (!vary) return out;
    const int presentType =
        present.lpType >= 1 && present.lpType <= 9 ? present.lpType : present.hpType;
    const std::vector<int> types =
        o.crossoverTypes.empty() ? typesOfSlope(presentType) : o.crossoverTypes;
    const std::vector<int> frequencies =
        o.crossoverFrequencies.empty() ? nearbyFrequencies(j.frequencyHz) : o.crossoverFrequencies;
    for (int t : types) {
        for (int f : frequencies) {
            const CrossoverChoice c{f, t, f, t};
            if (std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
        }
    }
    return out;
}

std::vector<int> rangeOf(int lo, int hi) {
    std::vector<int> out;
    for (int v = lo; v <= hi; ++v) out.push_back(v);
    return out;
}

struct StageOutcome {
    bool cancelled = false;
    std::vector<Candidate> minima;  // local minima over the delay, best first
    Evaluated beyondLow;            // one tap below the delay line, at the best
    Evaluated beyondHigh;
    Evaluated levelBelow;  // one dB below and above the level range, at the best
    Evaluated levelAbove;
};

class Search {
public:
    Search(const AlignProblem& p, const AlignInput& input, const FitProgress& progress)
        : m_p(p), m_input(input), m_progress(progress) {}

    // The junction between `channel` and its neighbour towards the held one.
    const AlignJunction& junctionOf(int channel) const {
        const auto pos = std::find(m_p.order.begin(), m_p.order.end(), channel) - m_p.order.begin();
        const auto heldPos =
            std::find(m_p.order.begin(), m_p.order.end(), m_p.held) - m_p.order.begin();
        return pos < heldPos ? m_p.junctions[pos] : m_p.junctions[pos - 1];
    }

    std::vector<int> delaysOf(int channel, const ChannelRecord& r, bool all) const {
        if (!all) return {r.delayTaps};
        const ParameterLimits::Range range = ParameterLimits::delayTaps(channel);
        return rangeOf(range.lo, range.hi);
    }
    std::vector<int> levelsOf(const ChannelRecord& r, bool all) const {
        return all ? rangeOf(ParameterLimits::level.lo, ParameterLimits::level.hi)
                   : std::vector<int>{r.level};
    }

    StageOutcome run(const Stage& stage, int channel, const std::vector<int>& delays,
                     const std::vector<int>& levels, double progressFrom, double progressTo) {
        StageOutcome out;
        const bool preview = m_input.options.effort == AlignEffort::Preview;
        const int stride =
            preview && delays.size() > 1
                ? std::max(1, static_cast<int>(periodTaps(junctionOf(channel).frequencyHz) / 8.0))
                : 1;
        const std::size_t choices = stage.choiceCount();
        for (std::size_t o = 0; o < choices; ++o) {
            if (cancelled()) {
                out.cancelled = true;
                return out;
            }
            report(progressFrom + (progressTo - progressFrom) * static_cast<double>(o) / choices);
            // The delays looked at, rising, and their best levels.
            std::vector<int> ds;
            for (std::size_t k = 0; k < delays.size(); k += stride) ds.push_back(delays[k]);
            if (stride > 1 && ds.back() != delays.back()) ds.push_back(delays.back());
            std::vector<Evaluated> es;
            int start = m_p.records[channel].level;
            for (int d : ds) {
                es.push_back(stage.evaluate(static_cast<int>(o), d, levels, stride > 1, start));
                start = es.back().level;
            }
            for (std::size_t t = 0; t < ds.size(); ++t) {
                const bool left = t == 0 || es[t].score <= es[t - 1].score;
                const bool right = t + 1 == ds.size() || es[t].score < es[t + 1].score;
                if (!left || !right) continue;
                out.minima.push_back({es[t].score, static_cast<int>(o), ds[t], es[t].level});
            }
        }
        const ChannelRecord& present = m_p.records[channel];
        const auto better = [&](const Candidate& a, const Candidate& b) {
            if (scoreKey(a.score) != scoreKey(b.score))
                return scoreKey(a.score) < scoreKey(b.score);
            if (a.choice != b.choice) return a.choice < b.choice;
            if (std::abs(a.delay - present.delayTaps) != std::abs(b.delay - present.delayTaps))
                return std::abs(a.delay - present.delayTaps) <
                       std::abs(b.delay - present.delayTaps);
            return std::abs(a.level - present.level) < std::abs(b.level - present.level);
        };
        std::stable_sort(out.minima.begin(), out.minima.end(), better);
        if (stride > 1) {
            // The preview refines every tap around the best of the comb's minima.
            const auto refined = static_cast<std::size_t>(
                std::clamp(m_input.options.candidateCount, 1, MaxCandidates) + PreviewSpareMinima);
            if (out.minima.size() > refined) out.minima.resize(refined);
            for (Candidate& c : out.minima) {
                const int centre = c.delay;
                for (int d = centre - stride + 1; d < centre + stride; ++d) {
                    if (d == centre || d < delays.front() || d > delays.back()) continue;
                    const Evaluated e = stage.evaluate(c.choice, d, levels);
                    if (e.score < c.score) c = {e.score, c.choice, d, e.level};
                }
            }
        }
        std::stable_sort(out.minima.begin(), out.minima.end(), better);
        // The present setting (choice 0) in place of its lobe's minimum when
        // that is not clearly better.
        const double period = periodTaps(junctionOf(channel).frequencyHz);
        const Evaluated now = stage.evaluate(0, present.delayTaps, {present.level});
        for (Candidate& c : out.minima) {
            if (c.choice != 0 || std::abs(c.delay - present.delayTaps) >= period / 2.0) continue;
            if (now.score <= c.score + KeepMarginDb)
                c = {now.score, 0, present.delayTaps, present.level};
            break;
        }
        std::stable_sort(out.minima.begin(), out.minima.end(), better);
        if (!out.minima.empty()) {
            const Candidate& best = out.minima.front();
            out.beyondLow = stage.evaluate(best.choice, delays.front() - 1, {best.level});
            out.beyondHigh = stage.evaluate(best.choice, delays.back() + 1, {best.level});
            out.levelBelow = stage.evaluate(best.choice, best.delay, {levels.front() - 1});
            out.levelAbove = stage.evaluate(best.choice, best.delay, {levels.back() + 1});
        }
        return out;
    }

    bool cancelled() const { return m_progress.cancel != nullptr && m_progress.cancel->load(); }
    void report(double fraction) const {
        if (m_progress.report) m_progress.report(std::clamp(fraction, 0.0, 1.0));
    }

private:
    const AlignProblem& m_p;
    const AlignInput& m_input;
    const FitProgress& m_progress;
};

std::vector<ChannelRecord> chosenRecords(const AlignInput& input,
                                         const std::array<ChannelRecord, ChannelCount>& records) {
    std::vector<ChannelRecord> out;
    for (int c : input.channels) out.push_back(records[c]);
    return out;
}

std::string tapsText(int taps) {
    return std::to_string(taps) + " Taps";
}

// Levels only: each driver in its passband against the target laid over its
// crossover, the held one giving the target its level.
AlignResult matchLevels(const AlignProblem& p, const AlignInput& input, AlignResult out) {
    std::vector<int> missing;
    for (int c : input.channels) {
        if (!hasPhase(input.measurements[c])) missing.push_back(c);
    }
    std::string names;
    for (std::size_t k = 0; k < missing.size(); ++k) {
        names +=
            (k == 0 ? "" : (k + 1 == missing.size() ? " und " : ", ")) + channelText(missing[k]);
    }
    out.warnings.push_back(
        "Ohne Phase gleicht der Assistent nur die Pegel an; Verzögerung und "
        "Übergang lassen sich nur mit Messungen mit Phase bestimmen (" +
        names + (missing.size() == 1 ? " hat" : " haben") + " keine).");
    if (!input.options.vary.level) {
        out.status = AlignStatus::Refused;
        out.message = "Ohne Phase lässt sich nur der Pegel angleichen, und der soll bleiben.";
        return out;
    }
    auto responses = std::make_unique<ComplexResponses>();
    computeComplexResponses(p.records, *responses);
    const std::size_t n = p.hz.size();
    // Each driver's predicted level.
    std::array<std::vector<double>, ChannelCount> level;
    for (int c : p.order) {
        for (std::size_t i = 0; i < n; ++i) {
            level[c].push_back(20.0 * std::log10(std::max(1e-15, std::abs(p.measured[c][i]))) +
                               responses->channels[c].db[p.first + static_cast<int>(i)]);
        }
    }
    // Each driver's passband in the region, where it plays with its own
    // crossover (as set) above -6 dB; there its level should follow the
    // target laid over that crossover.
    std::array<std::vector<bool>, ChannelCount> alone;
    std::array<std::vector<double>, ChannelCount> aim;
    for (int c : p.order) {
        const ChannelRecord& r = p.records[c];
        alone[c].assign(n, false);
        for (std::size_t i = 0; i < n; ++i) {
            const double f = p.hz[i];
            const double crossover = magnitudeToDb(highPassMagnitude(f, r.hpFrequency, r.hpType) *
                                                   lowPassMagnitude(f, r.lpFrequency, r.lpType));
            alone[c][i] = crossover > PassbandEdgeDb;
            aim[c].push_back(p.shape[i] + crossover);
        }
        if (std::find(alone[c].begin(), alone[c].end(), true) == alone[c].end()) {
            out.status = AlignStatus::Refused;
            out.message = channelText(c) +
                          " spielt im Bereich nirgends in seinem Durchlassbereich; "
                          "ohne Phase lässt sich sein Pegel so nicht angleichen.";
            return out;
        }
    }
    // The target's level from the held channel, unless fixed.
    double offset = 0.0;
    if (p.levelFree) {
        double sum = 0.0;
        int count = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (!alone[p.held][i]) continue;
            sum += level[p.held][i] - aim[p.held][i];
            ++count;
        }
        offset = sum / count;
    }
    // Every combination of the other channels' levels, scored over all
    // points where one driver plays alone.
    std::vector<int> others;
    for (int c : input.channels) {
        if (c != p.held) others.push_back(c);
    }
    const std::vector<int> levels = rangeOf(ParameterLimits::level.lo, ParameterLimits::level.hi);
    std::vector<std::pair<double, std::vector<int>>> scored;
    std::vector<int> pick(others.size(), 0);
    while (true) {
        double e2 = 0.0;
        int count = 0;
        for (int c : p.order) {
            const auto k = std::find(others.begin(), others.end(), c) - others.begin();
            const double shift = c == p.held ? 0.0 : levels[pick[k]] - p.records[c].level;
            for (std::size_t i = 0; i < n; ++i) {
                if (!alone[c][i]) continue;
                const double e = level[c][i] + shift - aim[c][i] - offset;
                e2 += e * e;
                ++count;
            }
        }
        std::vector<int> chosen;
        for (int k : pick) chosen.push_back(levels[k]);
        scored.push_back({std::sqrt(e2 / count), chosen});
        std::size_t k = 0;
        while (k < pick.size() && ++pick[k] == static_cast<int>(levels.size())) pick[k++] = 0;
        if (k == pick.size()) break;
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const int count = std::clamp(input.options.candidateCount, 1, MaxCandidates);
    for (std::size_t r = 0; r < scored.size() && static_cast<int>(r) < count; ++r) {
        std::array<ChannelRecord, ChannelCount> records = p.records;
        for (std::size_t k = 0; k < others.size(); ++k)
            records[others[k]].level = scored[r].second[k];
        out.candidates.push_back({scored[r].first, chosenRecords(input, records)});
    }
    {
        double e2 = 0.0;
        int m = 0;
        for (int c : p.order) {
            for (std::size_t i = 0; i < n; ++i) {
                if (!alone[c][i]) continue;
                const double e = level[c][i] - aim[c][i] - offset;
                e2 += e * e;
                ++m;
            }
        }
        out.presentScoreDb = std::sqrt(e2 / m);
    }
    out.status = AlignStatus::Ok;
    return out;
}

}  // namespace

AlignResult alignCrossover(const AlignInput& input, const FitProgress& progress) {
    AlignResult out;
    out.unchecked = uncheckedAlignmentTexts();
    const AlignBuild build = buildAlignProblem(input);
    if (!build.ok) {
        out.message = build.error;
        return out;
    }
    const AlignProblem& p = build.problem;
    out.region = p.region;
    out.held = p.held;
    out.phaseUsed = p.phase;
    out.warnings = checkAlignmentMeasurements(p, input);
    if (!p.phase) return matchLevels(p, input, std::move(out));

    const AlignOptions& o = input.options;
    Search search(p, input, progress);
    out.presentScoreDb = exactSum(p, p.records).scoreDb;

    // The channels that vary, nearest to the held one first.
    const auto heldPos = std::find(p.order.begin(), p.order.end(), p.held) - p.order.begin();
    std::vector<int> varying;
    for (std::size_t d = 1; d < p.order.size(); ++d) {
        if (heldPos - static_cast<long>(d) >= 0) varying.push_back(p.order[heldPos - d]);
        if (heldPos + d < p.order.size()) varying.push_back(p.order[heldPos + d]);
    }

    std::array<ChannelRecord, ChannelCount> state = p.records;
    StageOutcome last;
    int lastChannel = varying.back();
    std::vector<CrossoverChoice> lastChoices;
    const int passes = varying.size() > 1 ? MaxPasses : 1;
    const double share = 0.8 / (passes * varying.size());
    double done = 0.0;
    for (int pass = 0; pass < passes; ++pass) {
        bool changed = false;
        for (int channel : varying) {
            const AlignJunction& junction = search.junctionOf(channel);
            std::vector<CrossoverChoice> choices =
                choicesFor(p, junction, state, o, o.vary.crossover);
            const Stage stage(p, state, channel, junction, choices, 1.0);
            last =
                search.run(stage, channel, search.delaysOf(channel, state[channel], o.vary.delay),
                           search.levelsOf(state[channel], o.vary.level), done, done + share);
            done += share;
            if (last.cancelled) {
                out.status = AlignStatus::Cancelled;
                return out;
            }
            lastChannel = channel;
            lastChoices = choices;
            const Candidate& best = last.minima.front();
            std::array<ChannelRecord, ChannelCount> next = state;
            applyChoice(junction, choices[best.choice], next);
            next[channel].delayTaps = best.delay;
            next[channel].level = best.level;
            changed = changed || !(next == state);
            state = next;
        }
        if (!changed) break;
    }

    // The candidates: one per lobe and crossover choice, best first.
    const AlignJunction& junction = search.junctionOf(lastChannel);
    const double period = periodTaps(junction.frequencyHz);
    std::vector<Candidate> kept;
    for (const Candidate& c : last.minima) {
        const bool sameLobe = std::any_of(kept.begin(), kept.end(), [&](const Candidate& k) {
            return k.choice == c.choice && std::abs(k.delay - c.delay) < period / 2.0;
        });
        if (!sameLobe) kept.push_back(c);
    }
    const Candidate& best = kept.front();
    for (const Candidate& c : kept) {
        const double apart = std::abs(c.delay - best.delay);
        if (apart < period / 2.0) continue;
        if (apart >= 0.75 * period && apart <= 1.25 * period &&
            c.score - best.score < LobeMarginDb) {
            out.warnings.push_back(std::string(LobeWarningText) + " (" + channelText(lastChannel) +
                                   ": " + tapsText(best.delay) + " oder " + tapsText(c.delay) +
                                   ").");
        }
        break;
    }
    const int count = std::clamp(o.candidateCount, 1, MaxCandidates);
    for (const Candidate& c : kept) {
        if (static_cast<int>(out.candidates.size()) == count) break;
        std::array<ChannelRecord, ChannelCount> records = state;
        applyChoice(junction, lastChoices[c.choice], records);
        records[lastChannel].delayTaps = c.delay;
        records[lastChannel].level = c.level;
        out.candidates.push_back({exactSum(p, records).scoreDb, chosenRecords(input, records)});
    }
    std::stable_sort(out.candidates.begin(), out.candidates.end(),
                     [](const AlignCandidate& a, const AlignCandidate& b) {
                         return scoreKey(a.scoreDb) < scoreKey(b.scoreDb);
                     });

    // Beyond the ranges.
    if (o.vary.delay && last.beyondLow.score < best.score - KeepMarginDb) {
        out.warnings.push_back(channelText(lastChannel) +
                               " bräuchte weniger Verzögerung als 0 Taps: "
                               "halten Sie " +
                               channelText(lastChannel) +
                               " fest und lassen Sie "
                               "den anderen Kanal verzögern.");
    }
    if (o.vary.delay && last.beyondHigh.score < best.score - KeepMarginDb) {
        out.warnings.push_back(channelText(lastChannel) +
                               " bräuchte mehr Verzögerung, als der Kanal "
                               "fasst (" +
                               tapsText(ParameterLimits::delayTaps(lastChannel).hi) + ").");
    }
    if (o.vary.level &&
        (std::min(last.levelBelow.score, last.levelAbove.score) < best.score - KeepMarginDb)) {
        out.warnings.push_back(channelText(lastChannel) +
                               " bräuchte einen Pegel außerhalb von -6 "
                               "bis +6 dB: gleichen Sie den Rest mit dem anderen Kanal oder der "
                               "Endstufe an.");
    }

    // A driver connected the wrong way round.
    for (int channel : varying) {
        const AlignJunction& j = search.junctionOf(channel);
        const std::vector<CrossoverChoice> present{choiceOf(p, j, p.records)};
        // Either channel may take the delay here (a negative one is the
        // other channel's), so that the end of a delay line never looks
        // like a turned driver.
        const int most = ParameterLimits::delayTaps(channel).hi;
        const std::vector<int> delays = rangeOf(-most, most);
        const std::vector<int> levels = search.levelsOf(p.records[channel], true);
        const StageOutcome normal = search.run(Stage(p, p.records, channel, j, present, 1.0),
                                               channel, delays, levels, 0.8, 0.9);
        const StageOutcome turned = search.run(Stage(p, p.records, channel, j, present, -1.0),
                                               channel, delays, levels, 0.9, 1.0);
        if (normal.cancelled || turned.cancelled) {
            out.status = AlignStatus::Cancelled;
            out.candidates.clear();
            return out;
        }
        const double n = normal.minima.front().score;
        const double t = turned.minima.front().score;
        if (t < n - PolarityMarginDb && t < n / 2.0) {
            std::string text = channelText(channel) + " scheint gegenüber " +
                               channelText(channel == j.lower ? j.upper : j.lower) +
                               " verpolt (um 180° gedreht). Das Gerät kann die Polarität nicht "
                               "umkehren: helfen können nur Verzögerung und Filtertyp, oder Sie "
                               "tauschen die Anschlüsse des Treibers.";
            if (!o.vary.crossover) text += " Lassen Sie dazu auch den Übergang verändern.";
            out.warnings.push_back(text);
        }
    }
    search.report(1.0);
    out.status = AlignStatus::Ok;
    return out;
}

AlignEvaluation evaluateAlignment(const AlignInput& input,
                                  const std::vector<ChannelRecord>& records) {
    AlignEvaluation out;
    const AlignBuild build = buildAlignProblem(input);
    if (!build.ok) {
        out.message = build.error;
        return out;
    }
    const AlignProblem& p = build.problem;
    if (records.size() != input.channels.size()) {
        out.message = "Für jeden gewählten Kanal braucht es seine Einstellungen.";
        return out;
    }
    if (!p.phase) {
        out.message = "Die Summe lässt sich nur aus Messungen mit Phase vorhersagen.";
        return out;
    }
    std::array<ChannelRecord, ChannelCount> all = p.records;
    for (std::size_t k = 0; k < records.size(); ++k) all[input.channels[k]] = records[k];
    const ExactSum sum = exactSum(p, all);
    out.ok = true;
    out.scoreDb = sum.scoreDb;
    out.region = p.region;
    out.hz = p.hz;
    for (std::size_t i = 0; i < p.hz.size(); ++i) {
        const double magnitude = std::abs(sum.sum[i]);
        out.sumDb.push_back(magnitude > 0.0 ? 20.0 * std::log10(magnitude) : double{SilenceDb});
        out.targetDb.push_back(p.target[i] + sum.targetLevelDb);
    }
    return out;
}
