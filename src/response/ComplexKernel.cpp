#include "response/ComplexKernel.h"

#include <cmath>

#include "model/DelayUnits.h"
#include "response/ChannelPlan.h"
#include "response/ComplexMath.h"
#include "response/KernelDispatch.h"
#include "response/PolarMath.h"

namespace {

constexpr int BlockSize = 200;
static_assert(ResponsePointCount % BlockSize == 0);

// A running product and its derivative with respect to f, for one block.
struct Block {
    alignas(64) double re[BlockSize];
    alignas(64) double im[BlockSize];
    alignas(64) double dre[BlockSize];
    alignas(64) double dim[BlockSize];
};

// The points of one block: frequencies and their squares.
struct BlockPoints {
    const double* f;
    const double* f2;
};

// The first section sets the product, every further one multiplies into it.
template <typename Section>
void applySection(Block& p, BlockPoints x, bool first, Section section) {
    if (first) {
        for (int j = 0; j < BlockSize; ++j) {
            const ValueSlope h = section(x.f[j], x.f2[j]);
            p.re[j] = h.re;
            p.im[j] = h.im;
            p.dre[j] = h.dre;
            p.dim[j] = h.dim;
        }
        return;
    }
    for (int j = 0; j < BlockSize; ++j) {
        const ValueSlope r =
            multiplySlope({p.re[j], p.im[j], p.dre[j], p.dim[j]}, section(x.f[j], x.f2[j]));
        p.re[j] = r.re;
        p.im[j] = r.im;
        p.dre[j] = r.dre;
        p.dim[j] = r.dim;
    }
}

void applyEq(Block& p, BlockPoints x, bool first, const EqPlan& plan) {
    const EqBandTerms t = plan.terms;
    switch (plan.kind) {
        case EqKind::Peaking:
            applySection(p, x, first, [t](double f, double f2) { return peakingSlope(f, f2, t); });
            break;
        case EqKind::LowShelf:
            applySection(p, x, first, [t](double f, double f2) { return lowShelfSlope(f, f2, t); });
            break;
        case EqKind::HighShelf:
            applySection(p, x, first,
                         [t](double f, double f2) { return highShelfSlope(f, f2, t); });
            break;
    }
}

void applyFilterSection(Block& p, BlockPoints x, bool first, const FilterSection& s) {
    const double corner = s.corner;
    const double f0q = s.f0q;
    switch (s.kind) {
        case SectionKind::FirstOrderHigh:
            applySection(p, x, first, [corner](double f, double f2) {
                return firstOrderHighPassSlope(f, f2, corner);
            });
            break;
        case SectionKind::FirstOrderLow:
            applySection(p, x, first, [corner](double f, double f2) {
                return firstOrderLowPassSlope(f, f2, corner);
            });
            break;
        case SectionKind::SecondOrderHigh:
            applySection(p, x, first, [corner, f0q](double f, double) {
                return secondOrderHighPassSlope(f, corner, f0q);
            });
            break;
        case SectionKind::SecondOrderLow:
            applySection(p, x, first, [corner, f0q](double f, double) {
                return secondOrderLowPassSlope(f, corner, f0q);
            });
            break;
    }
}

// The channel's sections in the order of the magnitude path; no section at
// all is the product 1.
void channelProduct(const ChannelPlan& plan, BlockPoints x, Block& p) {
    bool first = true;
    for (int i = 0; i < plan.eqCount; ++i, first = false) applyEq(p, x, first, plan.eq[i]);
    for (const FilterPlan* filter : {&plan.highPass, &plan.lowPass}) {
        for (int i = 0; i < filter->count; ++i, first = false) {
            applyFilterSection(p, x, first, filter->sections[i]);
        }
    }
    if (first) {
        for (int j = 0; j < BlockSize; ++j) {
            p.re[j] = 1.0;
            p.im[j] = 0.0;
            p.dre[j] = 0.0;
            p.dim[j] = 0.0;
        }
    }
}

// |P| and d(arg P)/df, scaled by the larger part so that neither overflows
// where P itself is representable. NaN when P is 0 or not finite.
struct Polar {
    double magnitude;
    double phaseSlope;  // radians per Hz
};

inline Polar polarOf(double re, double im, double dre, double dim) {
    const double ar = std::fabs(re);
    const double ai = std::fabs(im);
    const double big = ar > ai ? ar : ai;
    const double scale = 1.0 / (big > 0.0 ? big : 1.0);
    const double pr = re * scale;
    const double pi = im * scale;
    const double n2 = pr * pr + pi * pi;  // [1, 2] for a usable P
    return {big * std::sqrt(n2), (dim * pr - dre * pi) * scale / n2};
}

constexpr double LargestDouble = 1.7976931348623157e308;

inline bool usable(double x) {
    return std::fabs(x) <= LargestDouble;  // false for infinities and NaN
}

// The curves of one channel for one block. A product that is zero or not
// finite counts as 1 (see ComplexResponse.h); `p` is left holding the product
// as the sums take it.
void finishChannel(Block& p, BlockPoints x, double level, double delaySeconds, int j0,
                   ResponseCurves& out) {
    for (int j = 0; j < BlockSize; ++j) {
        const Polar polar = polarOf(p.re[j], p.im[j], p.dre[j], p.dim[j]);
        const bool valueOk = (polar.magnitude > 0.0) & usable(polar.magnitude);
        const bool slopeOk = valueOk & usable(polar.phaseSlope);
        const double re = valueOk ? p.re[j] : 1.0;
        const double im = valueOk ? p.im[j] : 0.0;
        p.re[j] = re;
        p.im[j] = im;
        p.dre[j] = slopeOk ? p.dre[j] : 0.0;
        p.dim[j] = slopeOk ? p.dim[j] : 0.0;
        const double magnitude = valueOk ? polar.magnitude : 1.0;
        const double phaseSlope = slopeOk ? polar.phaseSlope : 0.0;

        const double turns =
            polar::angleInTurns(im, re) - polar::turnFraction(x.f[j] * delaySeconds);
        out.db[j0 + j] = static_cast<float>(20.0 * polar::log10Positive(magnitude) + level);
        out.phaseDegrees[j0 + j] = static_cast<float>(360.0 * polar::turnFraction(turns));
        out.groupDelayMs[j0 + j] =
            polar::saturatedFloat(1000.0 * (delaySeconds - phaseSlope / polar::TwoPi));
    }
}

// The channel as it arrives at the listening position, before its level:
// P e^(-j 2 pi f d), with derivative (P' - j 2 pi d P) e^(-j 2 pi f d).
void delayProduct(const Block& p, BlockPoints x, double delaySeconds, Block& out) {
    const double w = polar::TwoPi * delaySeconds;
    for (int j = 0; j < BlockSize; ++j) {
        const polar::CosSin cs = polar::cosSinOfTurns(x.f[j] * delaySeconds);
        const ComplexValue v = complexProduct(p.re[j], p.im[j], cs.cos, -cs.sin);
        const ComplexValue d =
            complexProduct(p.dre[j] + w * p.im[j], p.dim[j] - w * p.re[j], cs.cos, -cs.sin);
        out.re[j] = v.re;
        out.im[j] = v.im;
        out.dre[j] = d.re;
        out.dim[j] = d.im;
    }
}

void accumulate(Block& sum, const Block& channel, double gain) {
    for (int j = 0; j < BlockSize; ++j) {
        sum.re[j] += gain * channel.re[j];
        sum.im[j] += gain * channel.im[j];
        sum.dre[j] += gain * channel.dre[j];
        sum.dim[j] += gain * channel.dim[j];
    }
}

void finishSum(const Block& s, double level, int j0, ResponseCurves& out) {
    for (int j = 0; j < BlockSize; ++j) {
        const Polar polar = polarOf(s.re[j], s.im[j], s.dre[j], s.dim[j]);
        const bool valueOk = (polar.magnitude > 0.0) & usable(polar.magnitude);
        const bool slopeOk = valueOk & usable(polar.phaseSlope);
        const double db = 20.0 * polar::log10Positive(valueOk ? polar.magnitude : 1.0) + level;
        const double turns = polar::angleInTurns(s.im[j], s.re[j]);
        const double delay = -1000.0 * polar.phaseSlope / polar::TwoPi;
        out.db[j0 + j] = static_cast<float>(valueOk ? db : double{SilenceDb});
        out.phaseDegrees[j0 + j] = static_cast<float>(valueOk ? 360.0 * turns : 0.0);
        out.groupDelayMs[j0 + j] = polar::saturatedFloat(slopeOk ? delay : 0.0);
    }
}

// Everything that does not depend on the frequency.
struct Setup {
    ChannelPlan plans[ChannelCount];
    double delaySeconds[ChannelCount];
    // The gain of each channel on each side relative to the loudest channel
    // there (0 when it does not feed the side), so that no level overflows.
    double sideGain[ChannelCount][SumCount];
    double sideLevel[SumCount];
};

Setup setupOf(const std::array<ChannelRecord, ChannelCount>& records, ComplexResponses& out) {
    Setup setup{};
    for (int s = 0; s < SumCount; ++s) {
        out.sumChannelCount[s] = 0;
        bool any = false;
        for (const ChannelRecord& r : records) {
            if (!inputFeedsSide(r.input, s)) continue;
            setup.sideLevel[s] = any ? std::fmax(setup.sideLevel[s], r.level) : r.level;
            any = true;
            ++out.sumChannelCount[s];
        }
    }
    for (int c = 0; c < ChannelCount; ++c) {
        const ChannelRecord& r = records[c];
        setup.plans[c] = channelPlan(r);
        setup.delaySeconds[c] = r.delayTaps * SecondsPerTap;
        for (int s = 0; s < SumCount; ++s) {
            setup.sideGain[c][s] = inputFeedsSide(r.input, s)
                                       ? std::pow(10.0, (r.level - setup.sideLevel[s]) / 20.0)
                                       : 0.0;
        }
    }
    return setup;
}

void computeAll(const Setup& setup, const GridTerms& grid, ComplexResponses& out) {
    Block channel;
    Block delayed;
    Block sums[SumCount];
    for (int j0 = 0; j0 < ResponsePointCount; j0 += BlockSize) {
        const BlockPoints x{grid.f.data() + j0, grid.f2.data() + j0};
        for (Block& sum : sums) {
            for (int j = 0; j < BlockSize; ++j) {
                sum.re[j] = 0.0;
                sum.im[j] = 0.0;
                sum.dre[j] = 0.0;
                sum.dim[j] = 0.0;
            }
        }
        for (int c = 0; c < ChannelCount; ++c) {
            const double delay = setup.delaySeconds[c];
            channelProduct(setup.plans[c], x, channel);
            finishChannel(channel, x, setup.plans[c].level, delay, j0, out.channels[c]);
            const Block* arriving = &channel;
            if (delay != 0.0 && (setup.sideGain[c][0] != 0.0 || setup.sideGain[c][1] != 0.0)) {
                delayProduct(channel, x, delay, delayed);
                arriving = &delayed;
            }
            for (int s = 0; s < SumCount; ++s) {
                if (setup.sideGain[c][s] != 0.0)
                    accumulate(sums[s], *arriving, setup.sideGain[c][s]);
            }
        }
        for (int s = 0; s < SumCount; ++s) finishSum(sums[s], setup.sideLevel[s], j0, out.sums[s]);
    }
}

}  // namespace

void complexResponsesOf(const std::array<ChannelRecord, ChannelCount>& records,
                        const GridTerms& grid, ComplexResponses& responses, KernelIsa isa) {
    const Setup setup = setupOf(records, responses);
    runKernel<computeAll>(isa, setup, grid, responses);
}
