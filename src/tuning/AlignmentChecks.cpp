#include "tuning/AlignmentChecks.h"

#include <cmath>

#include "interchange/DecimalText.h"
#include "response/EqResponse.h"
#include "response/FilterResponse.h"
#include "tuning/MeasuredPhase.h"
#include "tuning/Smoothing.h"

namespace {

constexpr double PassbandDb = -10.0;
constexpr double NegativeDelayLimitMs = -1.0;
constexpr double DelaySpreadLimitMs = 3.0;
constexpr double ExcessGroupDelayPeriods = 3.0;
constexpr double PhaseStepLimitDegrees = 90.0;
constexpr double NormalisedWithinDb = 0.5;
// The excess group delay is taken between the grid points this far either
// side (2.3 % of the frequency apart): fine enough to see the comb of a
// reflection a few milliseconds late, whose mean over a wider window would
// be nothing.
constexpr int GroupDelayHalfWindow = 1;

std::string ms(double seconds) {
    return formatDecimal(seconds * 1000.0, 2) + " ms";
}

std::string hz(double f) {
    return formatDecimal(f, 0) + " Hz";
}

}  // namespace

std::vector<std::string> checkAlignmentMeasurements(const AlignProblem& p,
                                                    const AlignInput& input) {
    std::vector<std::string> out;
    std::vector<std::pair<int, double>> delays;
    for (int c : p.order) {
        const Measurement& m = input.measurements[c];
        const ChannelRecord& r = p.records[c];
        // The driver's passband within the region, on the region's points.
        std::vector<bool> pass(p.hz.size());
        double lo = 0.0;
        double hi = 0.0;
        double levelSum = 0.0;
        int levelCount = 0;
        for (std::size_t i = 0; i < p.hz.size(); ++i) {
            const double f = p.hz[i];
            pass[i] = magnitudeToDb(highPassMagnitude(f, r.hpFrequency, r.hpType) *
                                    lowPassMagnitude(f, r.lpFrequency, r.lpType)) > PassbandDb;
            if (!pass[i]) continue;
            if (lo == 0.0) lo = f;
            hi = f;
            levelSum += curveDbAt(m.frequencies, m.db, f);
            ++levelCount;
        }
        if (levelCount == 0) continue;
        if (std::fabs(levelSum / levelCount) < NormalisedWithinDb) {
            out.push_back(channelText(c) +
                          ": die Messung liegt um 0 dB und scheint für sich "
                          "normiert. Der Vergleich der Treiber braucht die Pegel, "
                          "wie gemessen (oder alle mit demselben Versatz).");
        }
        if (!hasPhase(m)) {
            out.push_back(channelText(c) + ": die Messung hat keine Phase.");
            continue;
        }
        const MeasuredPhase phase(m, lo, hi);
        const double delay = phase.bulkDelaySeconds();
        delays.push_back({c, delay});
        if (delay * 1000.0 < NegativeDelayLimitMs) {
            out.push_back(channelText(c) + ": die Phase zeigt eine negative Laufzeit (" +
                          ms(delay) + "); die Zeitreferenz passt nicht zu dieser Messung.");
        }
        // Steps between the file's own points.
        const std::vector<double>& f = phase.hz();
        const std::vector<double>& residual = phase.residualDegrees();
        for (std::size_t k = 1; k < f.size(); ++k) {
            if (f[k - 1] < lo || f[k] > hi) continue;
            const double step = residual[k] - residual[k - 1];
            if (std::fabs(step) > PhaseStepLimitDegrees) {
                out.push_back(channelText(c) + ": die Phase springt bei " + hz(f[k]) + " um " +
                              formatDecimal(std::fabs(step), 0) +
                              "°. Liegen die Punkte der Datei zu weit auseinander, oder ist die "
                              "Phase beschädigt?");
                break;
            }
        }
        // The excess group delay.
        double worst = 0.0;
        double worstHz = 0.0;
        double worstMs = 0.0;
        const int n = static_cast<int>(p.hz.size());
        for (int i = GroupDelayHalfWindow; i + GroupDelayHalfWindow < n; ++i) {
            if (!pass[i - GroupDelayHalfWindow] || !pass[i + GroupDelayHalfWindow]) continue;
            const double f0 = p.hz[i - GroupDelayHalfWindow];
            const double f1 = p.hz[i + GroupDelayHalfWindow];
            const double r0 = curveDbAt(f, residual, f0);
            const double r1 = curveDbAt(f, residual, f1);
            const double seconds = -(r1 - r0) / (f1 - f0) / 360.0;
            const double periods = std::fabs(seconds) * p.hz[i];
            if (periods > worst) {
                worst = periods;
                worstHz = p.hz[i];
                worstMs = seconds;
            }
        }
        if (worst > ExcessGroupDelayPeriods) {
            out.push_back(channelText(c) + ": die Gruppenlaufzeit weicht bei " + hz(worstHz) +
                          " um " + ms(worstMs) + " von der Laufzeit ab (" +
                          formatDecimal(worst, 1) +
                          " Perioden). Liegt eine Reflexion im Messfenster? Kürzen Sie das "
                          "Fenster oder messen Sie neu.");
        }
    }
    for (std::size_t a = 0; a < delays.size(); ++a) {
        for (std::size_t b = a + 1; b < delays.size(); ++b) {
            if (std::fabs(delays[a].second - delays[b].second) * 1000.0 <= DelaySpreadLimitMs)
                continue;
            out.push_back(
                channelText(delays[a].first) + " und " + channelText(delays[b].first) +
                ": Laufzeiten von " + ms(delays[a].second) + " und " + ms(delays[b].second) +
                ". So weit liegen die Treiber einer Box nicht auseinander: wurden sie mit "
                "derselben Zeitreferenz gemessen?");
        }
    }
    return out;
}

std::vector<std::string> uncheckedAlignmentTexts() {
    return {
        "Ob alle Messungen dieselbe Zeitreferenz haben (in REW die akustische Zeitreferenz oder "
        "ein Loopback), kann das Programm nicht prüfen; ohne sie sagt die Phase der Treiber "
        "zueinander nichts.",
        "Ob alle Treiber vom selben Mikrofonort aus gemessen wurden, kann das Programm nicht "
        "prüfen.",
        "Ob alle Messungen mit derselben Verstärkung und demselben Pegelbezug gemacht wurden, "
        "kann das Programm nicht prüfen.",
    };
}
