#include "tuning/FitProblem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/ParameterLimits.h"
#include "response/ChannelResponse.h"
#include "response/EqResponse.h"
#include "response/GridCurves.h"
#include "response/ResponseGrid.h"
#include "tuning/NarrowDips.h"
#include "tuning/Smoothing.h"

namespace {

constexpr double CrossoverEdgeDb = -6.0;

std::string hzText(double hz) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", hz);
    return buf;
}

bool crossoverInRange(int type, int frequency, ParameterLimits::Range range) {
    return type < 1 || type > 9 || range.contains(frequency);
}

// The widest run of consecutive flags.
std::pair<int, int> widestRun(const std::vector<bool>& flags) {
    int bestFirst = 0;
    int bestLength = 0;
    for (int i = 0; i < static_cast<int>(flags.size());) {
        if (!flags[i]) {
            ++i;
            continue;
        }
        int j = i;
        while (j < static_cast<int>(flags.size()) && flags[j]) ++j;
        if (j - i > bestLength) {
            bestFirst = i;
            bestLength = j - i;
        }
        i = j;
    }
    return {bestFirst, bestLength};
}

}  // namespace

bool panelBand(const EqBand& band, int e) {
    if (!ParameterLimits::eqGain.contains(band.level)) return false;
    if (band.q >= 1 && band.q <= 20) return ParameterLimits::eqFrequency.contains(band.frequency);
    if (band.q < EqQCodeFirstShelf || band.q > EqQCodeLast) return false;
    if (e == 4) return ParameterLimits::lowShelfFrequency.contains(band.frequency);
    if (e == HighShelfBand) return ParameterLimits::highShelfFrequency.contains(band.frequency);
    return false;
}

ProblemBuild buildProblem(const FitInput& input) {
    ProblemBuild out;
    FitProblem& p = out.problem;
    const ChannelRecord& channel = input.channel;
    const FitOptions& options = input.options;
    const Measurement& m = input.measurement;

    if (m.frequencies.size() < 2 || m.db.size() != m.frequencies.size()) {
        out.error = "Die Messung enthält keine zwei Messpunkte.";
        return out;
    }
    if (std::string problem = targetProblem(input.target); !problem.empty()) {
        out.error = problem;
        return out;
    }
    if (!std::isfinite(input.measurementOffsetDb) || !std::isfinite(options.maxTotalBoostDb) ||
        options.maxTotalBoostDb < 0.0 || options.maxBoostDb < 0 || options.maxBoostDb > 6 ||
        !(options.maxQ >= 0.5 && options.maxQ <= 10.0)) {
        out.error = "Die Grenzen der Anpassung liegen außerhalb ihrer Bereiche.";
        return out;
    }
    if (!crossoverInRange(channel.hpType, channel.hpFrequency, ParameterLimits::hpFrequency) ||
        !crossoverInRange(channel.lpType, channel.lpFrequency, ParameterLimits::lpFrequency)) {
        out.error = "Hoch- oder Tiefpass des Kanals liegen außerhalb der Bereiche des Panels.";
        return out;
    }
    for (int e = 0; e < EqBandCount; ++e) {
        if (options.keep[e] && !panelBand(channel.eq[e], e)) {
            out.error = "EQ" + std::to_string(e + 1) +
                        " soll bleiben, hat aber Werte außerhalb der Bereiche des Panels.";
            return out;
        }
    }

    crossoverDbCurve(channel, FitFirstPoint, FitPointCount, p.crossover.data());
    const double lo = m.frequencies.front();
    const double hi = m.frequencies.back();
    std::vector<bool> measured(FitPointCount, false);
    std::vector<double> shape(FitPointCount, 0.0);
    for (int i = 0; i < FitPointCount; ++i) {
        const double f = responseGridFrequency(FitFirstPoint + i);
        p.hz[i] = f;
        measured[i] = f >= lo && f <= hi;
        if (measured[i])
            p.evidence[i] = curveDbAt(m.frequencies, m.db, f) + input.measurementOffsetDb;
        p.target[i] = targetShapeDb(input.target, f) +
                      (input.target.followsCrossover ? p.crossover[i] : 0.0) +
                      input.target.levelDb.value_or(0.0);
        p.base[i] = measured[i] ? p.evidence[i] + p.crossover[i] - p.target[i] : 0.0;
    }

    // The range: asked for, or the measured span where the crossover passes.
    std::vector<bool> inRange(FitPointCount, false);
    if (options.range) {
        const FrequencyRange r = *options.range;
        if (!(r.loHz > 0.0 && r.hiHz > r.loHz && std::isfinite(r.hiHz))) {
            out.error = "Der Bereich muss von einer kleineren zu einer größeren Frequenz reichen.";
            return out;
        }
        for (int i = 0; i < FitPointCount; ++i) {
            inRange[i] = measured[i] && p.hz[i] >= r.loHz && p.hz[i] <= r.hiHz;
        }
    } else {
        std::vector<bool> passes(FitPointCount);
        for (int i = 0; i < FitPointCount; ++i) {
            passes[i] = measured[i] && p.crossover[i] > CrossoverEdgeDb;
        }
        const auto [first, length] = widestRun(passes);
        for (int i = first; i < first + length; ++i) inRange[i] = true;
    }
    const auto [first, length] = widestRun(inRange);
    if (length < MinFitPoints) {
        out.error = options.range
                        ? "Die Messung deckt zu wenig des Bereichs " + hzText(options.range->loHz) +
                              " bis " + hzText(options.range->hiHz) + " Hz ab."
                        : "Messung und Frequenzweiche lassen keinen Bereich von "
                          "wenigstens einer Terz zum Anpassen.";
        return out;
    }
    p.range = {p.hz[first], p.hz[first + length - 1]};

    // Narrow deep dips in what the equaliser would have to correct.
    std::vector<bool> dip(FitPointCount, false);
    if (options.dips == DipHandling::LeaveAlone) {
        const double perOctave = FitPointsPerDecade * std::log10(2.0);
        const int width = static_cast<int>(std::floor(DipWidthOctaves * perOctave + 1e-9));
        dip = narrowDipPoints(std::vector<double>(p.base.begin(), p.base.end()), measured, width,
                              DipDepthDb);
    }
    for (int i = first; i < first + length; ++i) {
        p.weight[i] = dip[i] ? 0.0 : 1.0;
        if (!dip[i]) ++p.count;
        if (dip[i] && (i == first || !dip[i - 1])) p.dips.push_back({p.hz[i], p.hz[i]});
        if (dip[i]) p.dips.back().hiHz = p.hz[i];
    }
    if (p.count < MinFitPoints) {
        out.error = "Im Bereich bleibt neben den schmalen Senken zu wenig zum Anpassen.";
        return out;
    }

    p.levelMode = !input.target.levelDb ? LevelMode::Free
                  : options.useLevel    ? LevelMode::Chosen
                                        : LevelMode::Kept;
    p.keptLevel = channel.level;
    // Boost: the limit, or what the bands kept already ask for.
    FitCurve kept{};
    FitCurve curve{};
    for (int e = 0; e < EqBandCount; ++e) {
        if (!options.keep[e]) continue;
        eqBandDbCurve(channel.eq[e], e, FitFirstPoint, FitPointCount, curve.data());
        for (int i = 0; i < FitPointCount; ++i) kept[i] += curve[i];
    }
    p.boostLimit = std::max(options.maxTotalBoostDb, *std::max_element(kept.begin(), kept.end()));
    out.ok = true;
    return out;
}

LevelScore scoreSums(const FitProblem& p, double s1, double s2) {
    LevelScore out;
    const double n = p.count;
    if (p.levelMode == LevelMode::Free) {
        out.offset = s1 / n;
        out.meanSquare = std::max(0.0, (s2 - s1 * out.offset) / n);
        return out;
    }
    out.level = p.levelMode == LevelMode::Kept
                    ? p.keptLevel
                    : ParameterLimits::level.clamp(
                          static_cast<int>(std::lround(std::clamp(-s1 / n, -100.0, 100.0))));
    const double l = out.level;
    out.meanSquare = std::max(0.0, (s2 + 2.0 * l * s1 + n * l * l) / n);
    return out;
}

ExactScore exactScore(const FitProblem& p, const ChannelRecord& record) {
    ChannelRecord r = record;
    ChannelResponse response;
    const auto residualSums = [&](double& s1, double& s2) {
        computeChannelResponse(r, response);
        s1 = s2 = 0.0;
        for (int i = 0; i < FitPointCount; ++i) {
            if (p.weight[i] == 0.0) continue;
            const double v = p.evidence[i] + response.db[FitFirstPoint + i] - p.target[i];
            s1 += v;
            s2 += v * v;
        }
    };
    ExactScore out;
    double s1 = 0.0;
    double s2 = 0.0;
    const double n = p.count;
    if (p.levelMode == LevelMode::Chosen) {
        r.level = 0;
        residualSums(s1, s2);
        out.meanResidualDb = s1 / n;
        r.level = scoreSums(p, s1, s2).level;
    } else if (p.levelMode == LevelMode::Kept) {
        r.level = p.keptLevel;
    }
    residualSums(s1, s2);
    out.level = r.level;
    if (p.levelMode == LevelMode::Free) {
        out.targetLevelDb = s1 / n;
        out.meanResidualDb = s1 / n - r.level;
        out.rmsDb = std::sqrt(std::max(0.0, (s2 - s1 * s1 / n) / n));
    } else {
        if (p.levelMode == LevelMode::Kept) out.meanResidualDb = s1 / n - r.level;
        out.rmsDb = std::sqrt(std::max(0.0, s2 / n));
    }
    return out;
}
