#include "response/FilterResponse.h"

#include "model/ChannelRecord.h"
#include "response/ResponseMath.h"

float complexMagnitude(float re, float im) {
    return magnitudeOf(re, im);
}

double firstOrderHighPass(double f, double fc, double k) {
    return firstOrderHighPassTerm(f, f * f, fc / k);
}

double firstOrderLowPass(double f, double fc, double k) {
    return firstOrderLowPassTerm(f, f * f, fc * k);
}

double secondOrderHighPass(double f, double f0, double q) {
    return secondOrderHighPassTerm(f, f0, f0 * q);
}

double secondOrderLowPass(double f, double f0, double q) {
    return secondOrderLowPassTerm(f, f0, f0 * q);
}

namespace {

struct TypeInfo {
    int family;
    int order;
};

constexpr TypeInfo TypeTable[] = {
    {FilterFamilyOff, 0},  // "Off"
    {0, 1},                // "Highpass 6 dB/Oct" (first order, also in the low-pass list)
    {1, 2},                // Butterworth 12
    {1, 3},                // Butterworth 18
    {1, 4},                // Butterworth 24
    {0, 2},                // Bessel 12
    {0, 3},                // Bessel 18
    {0, 4},                // Bessel 24
    {2, 2},                // Linkwitz-Riley 12
    {2, 4},                // Linkwitz-Riley 24
};
constexpr int TypeCount = sizeof(TypeTable) / sizeof(TypeTable[0]);
static_assert(TypeCount == FilterLinkwitzRiley24 + 1);

TypeInfo typeInfo(int type) {
    return type >= 0 && type < TypeCount ? TypeTable[type] : TypeInfo{0, 0};
}

// Truncates the type as the integer conversion does; values that are not in
// 0..9 after truncation (including NaN and huge values, whose conversion
// would be undefined) become a code outside the table.
int typeCode(double type) {
    return type > -1.0 && type < TypeCount ? static_cast<int>(type) : -1;
}

enum class Side { High, Low };

FilterSection first(Side side, double fc, double k) {
    return side == Side::High ? FilterSection{SectionKind::FirstOrderHigh, fc / k, 0.0, 0.0}
                              : FilterSection{SectionKind::FirstOrderLow, fc * k, 0.0, 0.0};
}

FilterSection second(Side side, double f0, double q) {
    return {side == Side::High ? SectionKind::SecondOrderHigh : SectionKind::SecondOrderLow, f0,
            f0 * q, q};
}

FilterPlan plan(FilterSection a) {
    return {1, {a, {}}};
}
FilterPlan plan(FilterSection a, FilterSection b) {
    return {2, {a, b}};
}

// The section tables of both sides. The constants are the decimal values the
// device's designers chose; the Bessel high-pass factors are deliberately
// not the reciprocals of the low-pass ones, and the fourth-order Butterworth
// high-pass shifts its Q 0.54 section to 0.997 fc while the low-pass does not.
FilterPlan crossoverPlan(Side side, double fc, double type) {
    const TypeInfo info = typeInfo(typeCode(type));
    const bool high = side == Side::High;
    switch (info.order) {
        case 1:
            return plan(first(side, fc, 1));
        case 2:
            if (info.family == 0) return plan(second(side, (high ? 0.791 : 1.26) * fc, 0.58));
            if (info.family == 1) return plan(second(side, fc, 0.71));
            if (info.family == 2) return plan(first(side, fc, 1), first(side, fc, 1));
            break;
        case 3:
            if (info.family == 0) {
                return plan(second(side, (high ? 0.69 : 1.446) * fc, 0.69), first(side, fc, 1.323));
            }
            if (info.family == 1) return plan(second(side, fc, 1.0), first(side, fc, 1));
            break;
        case 4:
            if (info.family == 0) {
                return high ? plan(second(side, 0.695 * fc, 0.52), second(side, 0.626 * fc, 0.81))
                            : plan(second(side, 1.44 * fc, 0.52), second(side, 1.6 * fc, 0.81));
            }
            if (info.family == 1) {
                return plan(second(side, high ? 0.997 * fc : fc, 0.54), second(side, fc, 1.31));
            }
            if (info.family == 2) return plan(second(side, fc, 0.71), second(side, fc, 0.71));
            break;
        default:
            break;
    }
    return {};
}

}  // namespace

int filterFamily(int type) {
    return typeInfo(type).family;
}
int filterOrder(int type) {
    return typeInfo(type).order;
}

FilterPlan highPassPlan(double fc, double type) {
    return crossoverPlan(Side::High, fc, type);
}
FilterPlan lowPassPlan(double fc, double type) {
    return crossoverPlan(Side::Low, fc, type);
}

double highPassMagnitude(double f, double fc, double type) {
    return planMagnitude(f, highPassPlan(fc, type));
}

double lowPassMagnitude(double f, double fc, double type) {
    return planMagnitude(f, lowPassPlan(fc, type));
}
