// The ranking sort of the exact finish: record numbers in the order of a
// comparison, by a merge sort that never leaves its arrays whatever the
// comparison answers.
#ifndef TALLORIX_ENGINE_RANK_SORT_H
#define TALLORIX_ENGINE_RANK_SORT_H

#include <stddef.h>
#include <stdint.h>

#include <algorithm>

// Sorts the record numbers in a by cmp, with b (as large) for room, and
// returns the one of the two that holds them sorted. A merge sort: it
// stays within its arrays whatever the comparison answers.
template <typename R, typename Cmp>
static uint32_t *SortRecordNumbers(const R *t, Cmp &cmp, uint32_t *a, uint32_t *b, size_t count)
{
    for (size_t width = 1; width < count; width = width > count / 2 ? count : 2 * width) {
        for (size_t lo = 0, hi; lo < count; lo = hi) {
            size_t mid = lo + std::min(width, count - lo);
            hi = mid + std::min(width, count - mid);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                b[k++] = cmp(&t[a[j]], &t[a[i]]) < 0 ? a[j++] : a[i++];
            while (i < mid)
                b[k++] = a[i++];
            while (j < hi)
                b[k++] = a[j++];
        }
        std::swap(a, b);
    }
    return a;
}

#endif
