#include "tuning/NarrowDips.h"

namespace {

// A flank ends where it rises less than this from one point to the next
// (at 100 points per decade, 3 dB per octave).
constexpr double FlankRiseDb = 0.1;

}  // namespace

std::vector<bool> narrowDipPoints(const std::vector<double>& db, const std::vector<bool>& valid,
                                  int maxWidthPoints, double depthDb) {
    const int n = static_cast<int>(db.size() < valid.size() ? db.size() : valid.size());
    std::vector<bool> dip(db.size(), false);
    for (int i = 0; i < n; ++i) {
        if (!valid[i]) continue;
        const double rim = db[i] + depthDb;
        // The nearest rim on each side gives the narrowest dip around i.
        int left = -1;
        for (int l = i - 1; l >= 0 && i - l < maxWidthPoints && valid[l]; --l) {
            if (db[l] >= rim) {
                left = l;
                break;
            }
        }
        if (left < 0) continue;
        int right = -1;
        for (int r = i + 1; r < n && r - left <= maxWidthPoints && valid[r]; ++r) {
            if (db[r] >= rim) {
                right = r;
                break;
            }
        }
        if (right < 0) continue;
        // The flanks, a point at a time on either side while the curve still
        // rises there, as long as the whole stays within the width: a dip
        // at the foot of a long slope must not take the slope (and the
        // peak it leads to) out of the fit.
        int from = left;
        int to = right;
        for (bool grew = true; grew;) {
            grew = false;
            if (to - from < maxWidthPoints && from > 0 && valid[from - 1] &&
                db[from - 1] > db[from] + FlankRiseDb) {
                --from;
                grew = true;
            }
            if (to - from < maxWidthPoints && to + 1 < n && valid[to + 1] &&
                db[to + 1] > db[to] + FlankRiseDb) {
                ++to;
                grew = true;
            }
        }
        for (int k = from; k <= to; ++k) dip[k] = true;
    }
    return dip;
}
