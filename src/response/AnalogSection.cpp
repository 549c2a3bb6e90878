#include "response/AnalogSection.h"

#include <cmath>

#include "response/EqResponse.h"
#include "response/ResponseKernel.h"
#include "response/ResponseMath.h"

namespace {

EqBandTerms bandTerms(const AnalogSection& s) {
    return {s.frequency, s.frequency * s.frequency, s.q, std::pow(10.0, s.gainDb / 20.0) - 1.0};
}

std::vector<AnalogSection> sectionsOf(const FilterPlan& plan) {
    std::vector<AnalogSection> out;
    for (int i = 0; i < plan.count; ++i) {
        const FilterSection& s = plan.sections[i];
        switch (s.kind) {
            case SectionKind::FirstOrderHigh:
                out.push_back({SectionType::HighPassFirstOrder, s.corner, 0.0, 0.0});
                break;
            case SectionKind::FirstOrderLow:
                out.push_back({SectionType::LowPassFirstOrder, s.corner, 0.0, 0.0});
                break;
            case SectionKind::SecondOrderHigh:
                out.push_back({SectionType::HighPass, s.corner, s.q, 0.0});
                break;
            case SectionKind::SecondOrderLow:
                out.push_back({SectionType::LowPass, s.corner, s.q, 0.0});
                break;
        }
    }
    return out;
}

double sectionTermOf(const AnalogSection& s, const EqBandTerms& terms, double f, double f2) {
    switch (s.type) {
        case SectionType::Peaking:
            return peakingTerm(f, f2, terms);
        case SectionType::LowShelf:
            return lowShelfTerm(f, f2, terms);
        case SectionType::HighShelf:
            return highShelfTerm(f, f2, terms);
        case SectionType::HighPass:
            return secondOrderHighPassTerm(f, s.frequency, s.frequency * s.q);
        case SectionType::LowPass:
            return secondOrderLowPassTerm(f, s.frequency, s.frequency * s.q);
        case SectionType::HighPassFirstOrder:
            return firstOrderHighPassTerm(f, f2, s.frequency);
        case SectionType::LowPassFirstOrder:
            return firstOrderLowPassTerm(f, f2, s.frequency);
    }
    return 1.0;
}

}  // namespace

double sectionMagnitude(const AnalogSection& s, double f) {
    return sectionTermOf(s, bandTerms(s), f, f * f);
}

void sectionDbCurve(const AnalogSection& s, int first, int count, double* db) {
    const GridTerms& grid = gridTerms();
    const EqBandTerms terms = bandTerms(s);
    for (int i = 0; i < count; ++i) {
        const int j = first + i;
        db[i] = magnitudeToDb(sectionTermOf(s, terms, grid.f[j], grid.f2[j]));
    }
}

std::vector<AnalogSection> highPassSections(double fc, int type) {
    return sectionsOf(highPassPlan(fc, type));
}

std::vector<AnalogSection> lowPassSections(double fc, int type) {
    return sectionsOf(lowPassPlan(fc, type));
}

AnalogSection eqBandSection(const EqBand& eq, int band) {
    const EqPlan plan = eqPlan(eq.frequency, eq.q, eq.level, band);
    const SectionType type = plan.kind == EqKind::Peaking     ? SectionType::Peaking
                             : plan.kind == EqKind::HighShelf ? SectionType::HighShelf
                                                              : SectionType::LowShelf;
    return {type, static_cast<double>(eq.frequency), plan.terms.q, static_cast<double>(eq.level)};
}
