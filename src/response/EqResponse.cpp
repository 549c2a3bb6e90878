#include "response/EqResponse.h"

#include <cmath>

#include "response/ResponseMath.h"

namespace {
constexpr double LastPeakingCode = 20.0;
}

double shelfQ(double qCode) {
    // Exact comparisons: the codes arrive as converted integers.
    if (qCode == 21.0) return 0.3;
    if (qCode == 22.0) return 0.5;
    if (qCode == 23.0) return 0.7;
    return qCode;
}

EqPlan eqPlan(double f0, double qCode, double gainDb, int band) {
    const double a = std::pow(10.0, gainDb / 20.0);
    EqBandTerms terms{f0, f0 * f0, 0.0, a - 1.0};
    if (qCode <= LastPeakingCode) {
        terms.q = qCode / 2.0;
        return {EqKind::Peaking, terms};
    }
    terms.q = shelfQ(qCode);
    return {band == HighShelfBand ? EqKind::HighShelf : EqKind::LowShelf, terms};
}

double eqMagnitude(double f, double f0, double qCode, double gainDb, int band) {
    return eqPlanMagnitude(f, f * f, eqPlan(f0, qCode, gainDb, band));
}

double magnitudeToDb(double x) {
    return x > 0.0 ? 20.0 * std::log10(x) : 0.0;
}
