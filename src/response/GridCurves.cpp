#include "response/GridCurves.h"

#include "response/EqResponse.h"
#include "response/ResponseKernel.h"
#include "response/ResponseMath.h"

void eqBandDbCurve(const EqBand& eq, int band, int first, int count, double* db) {
    const GridTerms& grid = gridTerms();
    const EqPlan plan = eqPlan(eq.frequency, eq.q, eq.level, band);
    for (int i = 0; i < count; ++i) {
        const int j = first + i;
        db[i] = magnitudeToDb(eqPlanMagnitude(grid.f[j], grid.f2[j], plan));
    }
}

void crossoverDbCurve(const ChannelRecord& record, int first, int count, double* db) {
    const GridTerms& grid = gridTerms();
    const FilterPlan hp = highPassPlan(record.hpFrequency, record.hpType);
    const FilterPlan lp = lowPassPlan(record.lpFrequency, record.lpType);
    for (int i = 0; i < count; ++i) {
        const double f = grid.f[first + i];
        db[i] = magnitudeToDb(planMagnitude(f, hp) * planMagnitude(f, lp));
    }
}
