#include "interchange/FilterDefinitions.h"

#include <cmath>
#include <numbers>

namespace {

double cookbookA(double gainDb) {
    return std::pow(10.0, gainDb / 40.0);
}

bool isFirstOrder(const AnalogBiquad& s) {
    return s.n2 == 0.0 && s.d2 == 0.0;
}

}  // namespace

AnalogBiquad analogPrototype(const CookbookFilter& filter) {
    const double a = cookbookA(filter.gainDb);
    const double q = filter.q;
    AnalogBiquad s;
    switch (filter.type) {
        case CookbookType::Peaking:
            s = {filter.frequency, 1.0, a / q, 1.0, 1.0, 1.0 / (a * q), 1.0};
            break;
        case CookbookType::LowShelf: {
            const double mid = std::sqrt(a) / q;
            s = {filter.frequency, a * a, a * mid, a, 1.0, mid, a};
            break;
        }
        case CookbookType::HighShelf: {
            const double mid = std::sqrt(a) / q;
            s = {filter.frequency, a, a * mid, a * a, a, mid, 1.0};
            break;
        }
        case CookbookType::LowPass:
            s = {filter.frequency, 1.0, 0.0, 0.0, 1.0, 1.0 / q, 1.0};
            break;
        case CookbookType::HighPass:
            s = {filter.frequency, 0.0, 0.0, 1.0, 1.0, 1.0 / q, 1.0};
            break;
        case CookbookType::LowPassFirstOrder:
            s = {filter.frequency, 1.0, 0.0, 0.0, 1.0, 1.0, 0.0};
            break;
        case CookbookType::HighPassFirstOrder:
            s = {filter.frequency, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0};
            break;
    }
    return s;
}

AnalogBiquad analogPrototype(const AnalogSection& section) {
    const double a = std::pow(10.0, section.gainDb / 20.0);
    const double q = section.q;
    const double f = section.frequency;
    switch (section.type) {
        case SectionType::Peaking:
            return {f, 1.0, a / q, 1.0, 1.0, 1.0 / q, 1.0};
        case SectionType::LowShelf:
            return {f, a, 1.0 / q, 1.0, 1.0, 1.0 / q, 1.0};
        case SectionType::HighShelf:
            return {f, 1.0, 1.0 / q, a, 1.0, 1.0 / q, 1.0};
        case SectionType::HighPass:
            return {f, 0.0, 0.0, 1.0, 1.0, 1.0 / q, 1.0};
        case SectionType::LowPass:
            return {f, 1.0, 0.0, 0.0, 1.0, 1.0 / q, 1.0};
        case SectionType::HighPassFirstOrder:
            return {f, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0};
        case SectionType::LowPassFirstOrder:
            return {f, 1.0, 0.0, 0.0, 1.0, 1.0, 0.0};
    }
    return {};
}

std::complex<double> response(const AnalogBiquad& s, double f) {
    const std::complex<double> x(0.0, f / s.frequency);
    return (s.n2 * x * x + s.n1 * x + s.n0) / (s.d2 * x * x + s.d1 * x + s.d0);
}

double magnitudeDb(const AnalogBiquad& section, double f) {
    return 20.0 * std::log10(std::abs(response(section, f)));
}

double productDb(const std::vector<AnalogBiquad>& sections, double f) {
    // The values a filter text may hold (FilterLine.cpp) keep a section
    // within ±250 dB between 20 Hz and 20 kHz, so a product kept within
    // 1e±250 of 1 stays within the range of a double after one more factor;
    // beyond that it goes into the sum of logarithms.
    constexpr double Fold = 1e250;
    double db = 0.0;
    double product = 1.0;
    for (const AnalogBiquad& s : sections) {
        product *= powerAt(s, f);
        if (product > Fold || product < 1.0 / Fold) {
            db += 10.0 * std::log10(product);
            product = 1.0;
        }
    }
    return db + 10.0 * std::log10(product);
}

Biquad bilinear(const AnalogBiquad& s, double sampleRate) {
    // s = K·(1 − z⁻¹)/(1 + z⁻¹) with s normalised to the section's frequency.
    const double k = 1.0 / std::tan(std::numbers::pi * s.frequency / sampleRate);
    double b0, b1, b2, a0, a1, a2;
    if (isFirstOrder(s)) {
        b0 = s.n1 * k + s.n0;
        b1 = s.n0 - s.n1 * k;
        b2 = 0.0;
        a0 = s.d1 * k + s.d0;
        a1 = s.d0 - s.d1 * k;
        a2 = 0.0;
    } else {
        const double k2 = k * k;
        b0 = s.n2 * k2 + s.n1 * k + s.n0;
        b1 = 2.0 * (s.n0 - s.n2 * k2);
        b2 = s.n2 * k2 - s.n1 * k + s.n0;
        a0 = s.d2 * k2 + s.d1 * k + s.d0;
        a1 = 2.0 * (s.d0 - s.d2 * k2);
        a2 = s.d2 * k2 - s.d1 * k + s.d0;
    }
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

std::complex<double> response(const Biquad& b, double f, double sampleRate) {
    const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * f / sampleRate);
    const std::complex<double> z2 = z1 * z1;
    return (b.b0 + b.b1 * z1 + b.b2 * z2) / (1.0 + b.a1 * z1 + b.a2 * z2);
}

double magnitudeDb(const Biquad& biquad, double f, double sampleRate) {
    return 20.0 * std::log10(std::abs(response(biquad, f, sampleRate)));
}

double peakingQFromOctaves(double octaves) {
    const double r = std::pow(2.0, octaves);
    return std::sqrt(r) / (r - 1.0);
}

std::optional<double> shelfQFromSlope(double slope, double gainDb) {
    const double a = cookbookA(gainDb);
    const double radicand = (a + 1.0 / a) * (1.0 / slope - 1.0) + 2.0;
    if (!(radicand > 0.0)) return std::nullopt;
    return 1.0 / std::sqrt(radicand);
}

double shelfSlopeFromQ(double q, double gainDb) {
    const double a = cookbookA(gainDb);
    return 1.0 / ((1.0 / (q * q) - 2.0) / (a + 1.0 / a) + 1.0);
}

double shelfMidpointFromCorner(double corner, double gainDb, double slope, bool lowShelf) {
    const double factor = std::pow(10.0, std::fabs(gainDb) / (80.0 * slope));
    return lowShelf ? corner * factor : corner / factor;
}

bool apoShelfFrequencyIsCorner(std::string_view typeName, bool qOrSlopeGiven) {
    const bool centre = !typeName.empty() && (typeName.back() == 'C' || typeName.back() == 'c');
    return !centre && qOrSlopeGiven;
}

double devicePeakingQ(double cookbookQ, double gainDb) {
    return cookbookQ * cookbookA(gainDb);
}

double cookbookPeakingQ(double deviceQ, double gainDb) {
    return deviceQ / cookbookA(gainDb);
}
