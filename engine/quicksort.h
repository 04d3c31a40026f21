// The engine's own in-place quicksort of the line table. It is not stable:
// the order of records whose keys compare equal is part of the module's
// observable behaviour, so the procedure must not change.
#ifndef TALLORIX_ENGINE_QUICKSORT_H
#define TALLORIX_ENGINE_QUICKSORT_H

#include "types.h"

// The procedure over any record type; cmp(const R *, const R *) returns a
// signed result of which only the sign is used. Given a lambda, the
// comparison is compiled into the loops. ahead(r, pivot) is shown the
// record that a partition's scan will compare with the pivot AHEAD steps
// later, so that it may fetch what that comparison will read; it must
// change nothing.
enum { AHEAD = 8 };

template <typename R, typename Cmp, typename Ahead>
void QuickSortRecords(R *t, size_t count, Cmp cmp, Ahead ahead)
{
    if (count < 2)
        return;

    // The larger part is always the one pushed, so 30 ranges suffice for
    // any 32-bit table; the 64-bit build gets room to spare.
    struct Range { size_t lo, hi; } stack[64];
    int depth = 0;
    size_t lo = 0, hi = count - 1;

    auto swap = [t](size_t i, size_t j) {
        if (i != j) {
            R e = t[i];
            t[i] = t[j];
            t[j] = e;
        }
    };

    for (;;) {
        size_t size = hi - lo + 1;
        if (size <= 8) {
            // Selection sort towards the top; among equal maxima the first
            // one found is moved.
            while (hi > lo) {
                size_t max = lo;
                for (size_t p = lo + 1; p <= hi; p++)
                    if (cmp(&t[p], &t[max]) > 0)
                        max = p;
                swap(max, hi);
                hi--;
            }
        } else {
            swap(lo + size / 2, lo);  // middle record as pivot, at lo
            // A copy of the pivot, which stays at lo until the scans end,
            // lets the compiler keep it in registers.
            const R pivot = t[lo];
            size_t l = lo, h = hi + 1;
            for (;;) {
                do {
                    l++;
                    if (l + AHEAD <= hi)
                        ahead(&t[l + AHEAD], &pivot);
                } while (l <= hi && cmp(&t[l], &pivot) <= 0);
                do {
                    h--;
                    if (h >= lo + AHEAD)
                        ahead(&t[h - AHEAD], &pivot);
                } while (h > lo && cmp(&t[h], &pivot) >= 0);
                if (h < l)
                    break;
                swap(l, h);
            }
            swap(lo, h);

            // Left part lo .. h-1, right part l .. hi; records between
            // them equal the pivot and are in place.
            if (h - lo < hi - l + 1) {
                if (l < hi)
                    stack[depth++] = {l, hi};
                if (lo + 1 < h) {
                    hi = h - 1;
                    continue;
                }
            } else {
                if (lo + 1 < h)
                    stack[depth++] = {lo, h - 1};
                if (l < hi) {
                    lo = l;
                    continue;
                }
            }
        }
        if (depth == 0)
            return;
        depth--;
        lo = stack[depth].lo;
        hi = stack[depth].hi;
    }
}

template <typename R, typename Cmp>
void QuickSortRecords(R *t, size_t count, Cmp cmp)
{
    QuickSortRecords(t, count, cmp, [](const R *, const R *) {});
}

// The procedure over plain entries with a comparator of the family.
void QuickSortLines(LineEntry *table, size_t count, Comparator cmp);

#endif
