#include "interchange/BandChoice.h"

#include <algorithm>
#include <cmath>

#include "model/ChannelRecord.h"

namespace {

using Curve = std::array<double, FitPointCount>;

struct Score {
    double maxDb = 0.0;
    double rmsDb = 0.0;
    int size = 0;
};

// Better: a smaller largest difference; at the same (to a micro-dB) a
// smaller RMS; then more filters taken.
bool better(const Score& a, const Score& b) {
    constexpr double Same = 1e-6;
    if (a.maxDb < b.maxDb - Same) return true;
    if (a.maxDb > b.maxDb + Same) return false;
    if (a.rmsDb < b.rmsDb - Same) return true;
    if (a.rmsDb > b.rmsDb + Same) return false;
    return a.size > b.size;
}

struct Limits {
    int low = 0, high = 0, total = 0;
    bool admits(BandKind kind) const {
        if (total == EqBandCount) return false;
        if (kind == BandKind::LowShelf) return low == 0;
        if (kind == BandKind::HighShelf) return high == 0;
        return true;
    }
    void add(BandKind kind, int sign) {
        total += sign;
        if (kind == BandKind::LowShelf) low += sign;
        if (kind == BandKind::HighShelf) high += sign;
    }
};

class Search {
public:
    Search(const Curve& design, const std::vector<BandCandidate>& candidates, BandChoice& out)
        : m_design(design), m_candidates(candidates), m_out(out) {}

    // Every admissible set, depth first in the text's order.
    void exhaustive() {
        Curve set{};
        visit(0, set);
        m_out.chosen = m_best;
    }

    void stepwise() {
        Curve set{};
        Score current = score(set);
        // Add while adding helps.
        for (;;) {
            int bestPos = -1;
            Score bestScore = current;
            for (std::size_t p = 0; p < m_candidates.size(); ++p) {
                if (m_taken[p] || !m_limits.admits(m_candidates[p].kind)) continue;
                const Score s = scoreWith(set, p, +1, 1);
                if (better(s, bestScore)) {
                    bestScore = s;
                    bestPos = static_cast<int>(p);
                }
            }
            if (bestPos < 0) break;
            take(set, static_cast<std::size_t>(bestPos), +1);
            current = bestScore;
        }
        // Then drop, exchange or add one filter while that helps.
        for (int pass = 0; pass < 100 && improve(set, current); ++pass) {
        }
        for (std::size_t p = 0; p < m_candidates.size(); ++p) {
            if (m_taken[p]) m_out.chosen.push_back(m_candidates[p].index);
        }
    }

private:
    Score score(const Curve& set) {
        ++m_out.setsTried;
        double worst = 0.0;
        double squares = 0.0;
        for (int j = 0; j < FitPointCount; ++j) {
            const double d = m_design[j] - set[j];
            worst = std::max(worst, std::fabs(d));
            squares += d * d;
        }
        return {worst, std::sqrt(squares / FitPointCount), m_limits.total};
    }

    void apply(Curve& set, std::size_t p, int sign) const {
        const Curve& band = m_candidates[p].bandDb;
        for (int j = 0; j < FitPointCount; ++j) set[j] += sign * band[j];
    }

    void take(Curve& set, std::size_t p, int sign) {
        apply(set, p, sign);
        m_taken[p] = sign > 0;
        m_limits.add(m_candidates[p].kind, sign);
    }

    Score scoreWith(const Curve& set, std::size_t p, int sign, int sizeChange) {
        Curve trial = set;
        apply(trial, p, sign);
        Score s = score(trial);
        s.size += sizeChange;
        return s;
    }

    // One step that helps: dropping a taken filter, exchanging it for one not
    // taken, or adding one. False when none does.
    bool improve(Curve& set, Score& current) {
        for (std::size_t p = 0; p < m_candidates.size(); ++p) {
            if (!m_taken[p]) continue;
            take(set, p, -1);
            const Score dropped = score(set);
            if (better(dropped, current)) {
                current = dropped;
                return true;
            }
            for (std::size_t q = 0; q < m_candidates.size(); ++q) {
                if (q == p || m_taken[q] || !m_limits.admits(m_candidates[q].kind)) continue;
                const Score s = scoreWith(set, q, +1, 1);
                if (better(s, current)) {
                    take(set, q, +1);
                    current = s;
                    return true;
                }
            }
            take(set, p, +1);
        }
        for (std::size_t q = 0; q < m_candidates.size(); ++q) {
            if (m_taken[q] || !m_limits.admits(m_candidates[q].kind)) continue;
            const Score s = scoreWith(set, q, +1, 1);
            if (better(s, current)) {
                take(set, q, +1);
                current = s;
                return true;
            }
        }
        return false;
    }

    // Whether the set's largest difference stays within the best set's (a
    // set beyond it cannot win, whatever its RMS), without the RMS.
    bool withinBest(const Curve& set) const {
        if (!m_scored) return true;
        const double bound = m_bestScore.maxDb + 1e-6;
        for (int j = 0; j < FitPointCount; ++j) {
            if (std::fabs(m_design[j] - set[j]) > bound) return false;
        }
        return true;
    }

    void visit(std::size_t next, Curve& set) {
        if (withinBest(set)) {
            const Score s = score(set);
            if (!m_scored || better(s, m_bestScore)) {
                m_bestScore = s;
                m_best.clear();
                for (std::size_t p = 0; p < m_candidates.size(); ++p) {
                    if (m_taken[p]) m_best.push_back(m_candidates[p].index);
                }
                m_scored = true;
            }
        } else {
            ++m_out.setsTried;  // tried, and out at its first point beyond the best
        }
        for (std::size_t p = next; p < m_candidates.size(); ++p) {
            if (!m_limits.admits(m_candidates[p].kind)) continue;
            take(set, p, +1);
            visit(p + 1, set);
            take(set, p, -1);
        }
    }

    const Curve& m_design;
    const std::vector<BandCandidate>& m_candidates;
    BandChoice& m_out;
    std::vector<bool> m_taken = std::vector<bool>(m_candidates.size(), false);
    Limits m_limits;
    Score m_bestScore;
    std::vector<int> m_best;
    bool m_scored = false;
};

bool everyCandidateFits(const std::vector<BandCandidate>& candidates) {
    Limits limits;
    for (const BandCandidate& c : candidates) {
        if (!limits.admits(c.kind)) return false;
        limits.add(c.kind, +1);
    }
    return true;
}

}  // namespace

BandChoice chooseBands(const Curve& designDb, const std::vector<BandCandidate>& candidates) {
    BandChoice out;
    Search search(designDb, candidates, out);
    if (static_cast<int>(candidates.size()) <= ExhaustiveBandChoiceLimit) {
        search.exhaustive();
        const bool all = out.chosen.size() == candidates.size();
        out.method = all && everyCandidateFits(candidates) ? BandChoiceMethod::All
                                                           : BandChoiceMethod::Exhaustive;
    } else {
        search.stepwise();
        out.method = BandChoiceMethod::Stepwise;
    }
    return out;
}
