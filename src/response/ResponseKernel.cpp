#include "response/ResponseKernel.h"

#include "response/ChannelPlan.h"
#include "response/EqResponse.h"
#include "response/KernelDispatch.h"
#include "response/ResponseMath.h"

// Shortcuts, each exact: a factor that is exactly 1 at every grid point is
// left out (see isIdentityBand()).

namespace {

using Points = std::array<double, ResponsePointCount>;

void multiplyEq(Points& mag, const GridTerms& grid, const EqPlan& plan) {
    const EqBandTerms t = plan.terms;
    switch (plan.kind) {
        case EqKind::Peaking:
            for (int j = 0; j < ResponsePointCount; ++j) {
                mag[j] *= peakingTerm(grid.f[j], grid.f2[j], t);
            }
            break;
        case EqKind::LowShelf:
            for (int j = 0; j < ResponsePointCount; ++j) {
                mag[j] *= lowShelfTerm(grid.f[j], grid.f2[j], t);
            }
            break;
        case EqKind::HighShelf:
            for (int j = 0; j < ResponsePointCount; ++j) {
                mag[j] *= highShelfTerm(grid.f[j], grid.f2[j], t);
            }
            break;
    }
}

// out[j] = section(f_j) when `assign`, else out[j] *= section(f_j).
template <bool assign>
void sectionPass(Points& out, const GridTerms& grid, const FilterSection& s) {
    const double corner = s.corner;
    const double f0q = s.f0q;
    auto apply = [&out](int j, double v) {
        if constexpr (assign) {
            out[j] = v;
        } else {
            out[j] *= v;
        }
    };
    switch (s.kind) {
        case SectionKind::FirstOrderHigh:
            for (int j = 0; j < ResponsePointCount; ++j) {
                apply(j, firstOrderHighPassTerm(grid.f[j], grid.f2[j], corner));
            }
            break;
        case SectionKind::FirstOrderLow:
            for (int j = 0; j < ResponsePointCount; ++j) {
                apply(j, firstOrderLowPassTerm(grid.f[j], grid.f2[j], corner));
            }
            break;
        case SectionKind::SecondOrderHigh:
            for (int j = 0; j < ResponsePointCount; ++j) {
                apply(j, secondOrderHighPassTerm(grid.f[j], corner, f0q));
            }
            break;
        case SectionKind::SecondOrderLow:
            for (int j = 0; j < ResponsePointCount; ++j) {
                apply(j, secondOrderLowPassTerm(grid.f[j], corner, f0q));
            }
            break;
    }
}

// The filter's own product (section 1 * section 2) is formed before it joins
// the channel product, as in the per-point evaluation.
void multiplyFilter(Points& mag, Points& scratch, const GridTerms& grid, const FilterPlan& plan) {
    if (plan.count == 0) return;
    if (plan.count == 1) {
        sectionPass<false>(mag, grid, plan.sections[0]);
        return;
    }
    sectionPass<true>(scratch, grid, plan.sections[0]);
    sectionPass<false>(scratch, grid, plan.sections[1]);
    for (int j = 0; j < ResponsePointCount; ++j) mag[j] *= scratch[j];
}

}  // namespace

const GridTerms& gridTerms() {
    static const GridTerms terms = [] {
        GridTerms t{};
        const ResponseGrid grid;
        for (int j = 0; j < ResponsePointCount; ++j) {
            t.f[j] = grid[j];
            t.f2[j] = t.f[j] * t.f[j];
        }
        return t;
    }();
    return terms;
}

namespace {

// The product is formed in the order of the formula: EQ1..EQ6, high-pass,
// low-pass, starting from 1 (1 * x == x).
void productOf(const ChannelPlan& plan, const GridTerms& grid, Points& mag) {
    Points scratch;
    mag.fill(1.0);
    for (int i = 0; i < plan.eqCount; ++i) multiplyEq(mag, grid, plan.eq[i]);
    multiplyFilter(mag, scratch, grid, plan.highPass);
    multiplyFilter(mag, scratch, grid, plan.lowPass);
}

}  // namespace

bool kernelIsaAvailable(KernelIsa isa) {
    switch (isa) {
        case KernelIsa::Portable:
            return true;
#ifdef FILTARO_KERNEL_X86
        case KernelIsa::Avx2:
            return __builtin_cpu_supports("avx2");
        case KernelIsa::Avx512:
            return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#endif
        default:
            return false;
    }
}

KernelIsa bestKernelIsa() {
    static const KernelIsa best = [] {
        for (KernelIsa isa : {KernelIsa::Avx512, KernelIsa::Avx2}) {
            if (kernelIsaAvailable(isa)) return isa;
        }
        return KernelIsa::Portable;
    }();
    return best;
}

void channelResponseDb(const ChannelRecord& record, const GridTerms& grid,
                       std::array<float, ResponsePointCount>& db, KernelIsa isa) {
    const ChannelPlan plan = channelPlan(record);
    Points mag;
    runKernel<productOf>(isa, plan, grid, mag);
    for (int j = 0; j < ResponsePointCount; ++j) {
        db[j] = static_cast<float>(magnitudeToDb(mag[j]) + plan.level);
    }
}
