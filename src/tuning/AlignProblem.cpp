#include "tuning/AlignProblem.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "response/ChannelResponse.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "response/ResponseGrid.h"
#include "tuning/FitProblem.h"
#include "tuning/MeasuredPhase.h"
#include "tuning/MeasuredSum.h"
#include "tuning/Smoothing.h"

namespace {

// A sum this far below its target counts as silence, not as minus infinity.
constexpr double FloorPower = 1e-30;

bool filterSet(int type) {
    return type >= 1 && type <= 9;
}

// Where a channel's passband lies, for ordering: the geometric middle of its
// high-pass and low-pass (an open end counts as 10 Hz or 40 kHz).
double passbandMiddle(const ChannelRecord& r) {
    const double lo = filterSet(r.hpType) && r.hpFrequency > 0 ? r.hpFrequency : 10.0;
    const double hi = filterSet(r.lpType) && r.lpFrequency > 0 ? r.lpFrequency : 40000.0;
    return std::sqrt(lo * hi);
}

bool readable(const Measurement& m) {
    if (m.frequencies.size() < 2 || m.db.size() != m.frequencies.size()) return false;
    for (std::size_t k = 0; k < m.frequencies.size(); ++k) {
        if (!std::isfinite(m.frequencies[k]) || !(m.frequencies[k] > 0.0) ||
            !std::isfinite(m.db[k]) || std::fabs(m.db[k]) > 1000.0) {
            return false;
        }
        if (k > 0 && !(m.frequencies[k] > m.frequencies[k - 1])) return false;
        if (k < m.phaseDegrees.size() && !std::isfinite(m.phaseDegrees[k])) return false;
    }
    return true;
}

}  // namespace

std::string channelText(int channel) {
    return "Kanal " + std::to_string(channel + 1);
}

AlignBuild buildAlignProblem(const AlignInput& input) {
    AlignBuild out;
    AlignProblem& p = out.problem;
    p.records = input.records;
    const std::vector<int>& chosen = input.channels;
    const AlignOptions& o = input.options;
    if (chosen.size() < 2 || chosen.size() > 3) {
        out.error = "Wählen Sie zwei oder drei Kanäle, die sich an einer Frequenzweiche treffen.";
        return out;
    }
    for (std::size_t a = 0; a < chosen.size(); ++a) {
        if (chosen[a] < 0 || chosen[a] >= ChannelCount ||
            std::count(chosen.begin(), chosen.end(), chosen[a]) != 1) {
            out.error = "Jeder Kanal (1 bis 6) darf nur einmal gewählt sein.";
            return out;
        }
    }
    bool sameSide = false;
    for (int s = 0; s < SumCount; ++s) {
        sameSide = sameSide || std::all_of(chosen.begin(), chosen.end(), [&](int c) {
                       return inputFeedsSide(p.records[c].input, s);
                   });
    }
    if (!sameSide) {
        out.error = "Die gewählten Kanäle spielen nicht auf derselben Eingangsseite (L oder R).";
        return out;
    }
    p.held = o.held < 0 ? chosen.front() : o.held;
    if (std::find(chosen.begin(), chosen.end(), p.held) == chosen.end()) {
        out.error = "Der festgehaltene Kanal muss einer der gewählten sein.";
        return out;
    }
    for (int c : chosen) {
        if (!readable(input.measurements[c])) {
            out.error = channelText(c) + " hat keine lesbare Messung mit wenigstens zwei Punkten.";
            return out;
        }
    }
    if (std::string problem = targetProblem(o.target); !problem.empty()) {
        out.error = problem;
        return out;
    }
    for (int t : o.crossoverTypes) {
        if (!filterSet(t)) {
            out.error = "Die Filtertypen der Frequenzweiche sind die Codes 1 bis 9.";
            return out;
        }
    }
    p.phase = std::all_of(chosen.begin(), chosen.end(),
                          [&](int c) { return hasPhase(input.measurements[c]); });

    p.order = chosen;
    std::stable_sort(p.order.begin(), p.order.end(), [&](int a, int b) {
        return passbandMiddle(p.records[a]) < passbandMiddle(p.records[b]);
    });
    for (std::size_t i = 0; i + 1 < p.order.size(); ++i) {
        const ChannelRecord& lower = p.records[p.order[i]];
        const ChannelRecord& upper = p.records[p.order[i + 1]];
        const bool lp = filterSet(lower.lpType) && lower.lpFrequency > 0;
        const bool hp = filterSet(upper.hpType) && upper.hpFrequency > 0;
        if (!lp && !hp) {
            out.error = channelText(p.order[i]) + " und " + channelText(p.order[i + 1]) +
                        " treffen sich an keiner Frequenzweiche: Tiefpass und Hochpass sind aus.";
            return out;
        }
        const double f = lp && hp
                             ? std::sqrt(static_cast<double>(lower.lpFrequency) * upper.hpFrequency)
                             : (lp ? lower.lpFrequency : upper.hpFrequency);
        p.junctions.push_back({p.order[i], p.order[i + 1], f});
    }

    // The region: asked for, or an octave beyond the outer crossovers; within
    // what every measurement covers.
    double lo = o.region ? o.region->loHz : p.junctions.front().frequencyHz / 2.0;
    double hi = o.region ? o.region->hiHz : p.junctions.back().frequencyHz * 2.0;
    if (!(lo > 0.0) || !(hi > lo) || !std::isfinite(hi)) {
        out.error = "Der Bereich muss von einer kleineren zu einer größeren Frequenz reichen.";
        return out;
    }
    for (int c : chosen) {
        lo = std::max(lo, input.measurements[c].frequencies.front());
        hi = std::min(hi, input.measurements[c].frequencies.back());
    }
    const auto [first, end] = gridSpan(lo, hi);
    if (end - first < MinFitPoints) {
        out.error =
            "Die Messungen decken zu wenig des Übergangsbereichs ab (wenigstens eine Terz).";
        return out;
    }
    p.first = first;
    for (int j = first; j < end; ++j) p.hz.push_back(responseGridFrequency(j));
    p.region = {p.hz.front(), p.hz.back()};

    const ChannelRecord& lowest = p.records[p.order.front()];
    const ChannelRecord& highest = p.records[p.order.back()];
    p.levelFree = !o.target.levelDb;
    for (double f : p.hz) {
        double t = targetShapeDb(o.target, f) + o.target.levelDb.value_or(0.0);
        p.shape.push_back(t);
        if (o.target.followsCrossover) {
            t += magnitudeToDb(highPassMagnitude(f, lowest.hpFrequency, lowest.hpType)) +
                 magnitudeToDb(lowPassMagnitude(f, highest.lpFrequency, highest.lpType));
        }
        p.target.push_back(t);
    }
    for (int c : chosen) {
        const Measurement& m = input.measurements[c];
        std::vector<std::complex<double>>& v = p.measured[c];
        if (p.phase) {
            const MeasuredPhase measured(m, p.region.loHz, p.region.hiHz);
            for (double f : p.hz) v.push_back(measured.valueAt(f));
        } else {
            for (double f : p.hz)
                v.emplace_back(std::pow(10.0, curveDbAt(m.frequencies, m.db, f) / 20.0), 0.0);
        }
    }
    out.ok = true;
    return out;
}

CrossoverChoice choiceOf(const AlignProblem&, const AlignJunction& j,
                         const std::array<ChannelRecord, ChannelCount>& records) {
    return {records[j.lower].lpFrequency, records[j.lower].lpType, records[j.upper].hpFrequency,
            records[j.upper].hpType};
}

void applyChoice(const AlignJunction& j, const CrossoverChoice& c,
                 std::array<ChannelRecord, ChannelCount>& records) {
    records[j.lower].lpFrequency = c.lpFrequency;
    records[j.lower].lpType = c.lpType;
    records[j.upper].hpFrequency = c.hpFrequency;
    records[j.upper].hpType = c.hpType;
}

void AlignScorer::add(int i, double sumPower, double powerSum) {
    const double s = std::max(sumPower, FloorPower);
    const double e = 10.0 * std::log10(s) - m_p.target[i];
    m_e1 += e;
    m_e2 += e * e;
    if (s < powerSum) {
        const double c = 10.0 * std::log10(powerSum / s);
        m_c2 += c * c;
    }
}

double AlignScorer::scoreDb() const {
    const double n = static_cast<double>(m_p.hz.size());
    const double mean = m_e1 / n;
    const double error = m_p.levelFree ? m_e2 / n - mean * mean : m_e2 / n;
    return std::sqrt(std::max(0.0, error) + m_c2 / n);
}

double AlignScorer::targetLevelDb() const {
    return m_p.levelFree ? m_e1 / static_cast<double>(m_p.hz.size()) : 0.0;
}

ExactSum exactSum(const AlignProblem& p, const std::array<ChannelRecord, ChannelCount>& records) {
    auto responses = std::make_unique<ComplexResponses>();
    computeComplexResponses(records, *responses);
    ExactSum out;
    out.sum.assign(p.hz.size(), {0.0, 0.0});
    std::vector<double> power(p.hz.size(), 0.0);
    for (int c : p.order) {
        for (std::size_t i = 0; i < p.hz.size(); ++i) {
            const std::complex<double> v =
                p.measured[c][i] *
                channelValue(responses->channels[c], p.first + static_cast<int>(i));
            out.sum[i] += v;
            power[i] += std::norm(v);
        }
    }
    AlignScorer scorer(p);
    for (std::size_t i = 0; i < p.hz.size(); ++i)
        scorer.add(static_cast<int>(i), std::norm(out.sum[i]), power[i]);
    out.scoreDb = scorer.scoreDb();
    out.targetLevelDb = scorer.targetLevelDb();
    return out;
}
