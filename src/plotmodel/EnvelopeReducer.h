#pragma once
// Thins a series of points for drawing: of the consecutive points that fall
// into one bucket (a pixel column, a small band of frequencies) only the
// first, the lowest, the highest and the last are kept, in the order they
// came. A line through those covers the same range in each bucket as a line
// through all of them, so a million measured points draw like the few
// thousand a plot can show.

#include <algorithm>
#include <array>
#include <cstddef>

template <typename Bucket, typename Value>
class EnvelopeReducer {
public:
    // Adds point `index`; a point in another bucket first hands the indices
    // kept of the last bucket to `keep`.
    template <typename Keep>
    void add(std::size_t index, Bucket bucket, Value value, Keep&& keep) {
        if (m_empty || bucket != m_bucket) {
            flush(keep);
            m_bucket = bucket;
            m_first = m_low = m_high = {index, value};
            m_empty = false;
        } else {
            if (value < m_low.value) m_low = {index, value};
            if (value > m_high.value) m_high = {index, value};
        }
        m_last = {index, value};
    }

    // Hands over the indices kept of the open bucket (each once, rising).
    template <typename Keep>
    void flush(Keep&& keep) {
        if (m_empty) return;
        std::array<Kept, 4> kept{m_first, m_low, m_high, m_last};
        std::sort(kept.begin(), kept.end(),
                  [](const Kept& a, const Kept& b) { return a.index < b.index; });
        for (std::size_t k = 0; k < kept.size(); ++k) {
            if (k == 0 || kept[k].index != kept[k - 1].index) keep(kept[k].index);
        }
        m_empty = true;
    }

private:
    struct Kept {
        std::size_t index = 0;
        Value value{};
    };
    bool m_empty = true;
    Bucket m_bucket{};
    Kept m_first;
    Kept m_low;
    Kept m_high;
    Kept m_last;
};
