#include "response/ComplexResponse.h"

#include "response/ComplexKernel.h"
#include "response/ComplexMath.h"
#include "response/PolarMath.h"

std::string_view quantityUnit(ResponseQuantity quantity) {
    switch (quantity) {
        case ResponseQuantity::Magnitude:
            return "dB";
        case ResponseQuantity::Phase:
            return "°";
        case ResponseQuantity::GroupDelay:
            return "ms";
    }
    return "";
}

const ResponseValues& ResponseCurves::values(ResponseQuantity quantity) const {
    switch (quantity) {
        case ResponseQuantity::Phase:
            return phaseDegrees;
        case ResponseQuantity::GroupDelay:
            return groupDelayMs;
        case ResponseQuantity::Magnitude:
            break;
    }
    return db;
}

void computeComplexResponses(const std::array<ChannelRecord, ChannelCount>& records,
                             ComplexResponses& responses) {
    complexResponsesOf(records, gridTerms(), responses);
}

void computeComplexResponses(const ParameterImage& image, ComplexResponses& responses) {
    std::array<ChannelRecord, ChannelCount> records;
    const int preset = image.activePreset();  // out of range reads all-zero records
    for (int c = 0; c < ChannelCount; ++c) records[c] = image.record(preset, c);
    computeComplexResponses(records, responses);
}

namespace {

PointResponse pointResponse(const ValueSlope& v) {
    // Group delay -Im(H'/H) / (2 pi); NaN where H is zero or NaN.
    const double norm = v.re * v.re + v.im * v.im;
    const double phaseSlope = (v.dim * v.re - v.dre * v.im) / norm;
    return {{v.re, v.im}, -phaseSlope / polar::TwoPi};
}

PointResponse planResponse(double f, const FilterPlan& plan) {
    ValueSlope product{1.0, 0.0, 0.0, 0.0};
    for (int i = 0; i < plan.count; ++i) {
        product = multiplySlope(product, sectionSlope(f, f * f, plan.sections[i]));
    }
    return pointResponse(product);
}

}  // namespace

PointResponse highPassResponse(double f, double fc, double type) {
    return planResponse(f, highPassPlan(fc, type));
}

PointResponse lowPassResponse(double f, double fc, double type) {
    return planResponse(f, lowPassPlan(fc, type));
}

PointResponse eqResponse(double f, double f0, double qCode, double gainDb, int band) {
    return pointResponse(eqPlanSlope(f, f * f, eqPlan(f0, qCode, gainDb, band)));
}
