#include "quicksort.h"

static inline void Swap(LineEntry *t, size_t i, size_t j)
{
    if (i != j) {
        LineEntry e = t[i];
        t[i] = t[j];
        t[j] = e;
    }
}

// Ranges of eight or fewer: selection sort towards the top. Among equal
// maxima the first one found is moved.
static void SelectionSort(LineEntry *t, size_t lo, size_t hi, Comparator cmp)
{
    while (hi > lo) {
        size_t max = lo;
        for (size_t p = lo + 1; p <= hi; p++)
            if (cmp(&t[p], &t[max]) > 0)
                max = p;
        Swap(t, max, hi);
        hi--;
    }
}

void QuickSortLines(LineEntry *t, size_t count, Comparator cmp)
{
    if (count < 2)
        return;

    // The larger part is always the one pushed, so 30 ranges suffice for
    // any 32-bit table; the 64-bit build gets room to spare.
    struct Range { size_t lo, hi; } stack[64];
    int depth = 0;
    size_t lo = 0, hi = count - 1;

    for (;;) {
        size_t size = hi - lo + 1;
        if (size <= 8) {
            SelectionSort(t, lo, hi, cmp);
        } else {
            Swap(t, lo + size / 2, lo);  // middle record as pivot, at lo
            size_t l = lo, h = hi + 1;
            for (;;) {
                do
                    l++;
                while (l <= hi && cmp(&t[l], &t[lo]) <= 0);
                do
                    h--;
                while (h > lo && cmp(&t[h], &t[lo]) >= 0);
                if (h < l)
                    break;
                Swap(t, l, h);
            }
            Swap(t, lo, h);

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
