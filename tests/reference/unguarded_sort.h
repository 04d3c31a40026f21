// The engine's quicksort on the whole table, never handing over to the
// exact finish: for the tests of the procedure and the benchmark's timing
// of it, not for the module.
#ifndef TALLORIX_TESTS_REFERENCE_UNGUARDED_SORT_H
#define TALLORIX_TESTS_REFERENCE_UNGUARDED_SORT_H

#include "engine/quicksort.h"

// The procedure on the whole table, never handing over; with BLOCKS, its
// scans a block at a time where the range allows.
template <bool BLOCKS = false, typename R, typename Cmp, typename Ahead>
void QuickSortRecords(R *t, size_t count, Cmp cmp, Ahead ahead)
{
    if (count < 2)
        return;
    QuickSortState s;
    StartQuickSort(&s, count);
    DirectOps<R, Cmp, Ahead, BLOCKS> ops = {t, cmp, ahead, R()};
    Guard never = {0, UINT64_MAX, 0, UINT64_MAX};
    QuickSortSteps(&s, ops, &never);
}

template <bool BLOCKS = false, typename R, typename Cmp>
void QuickSortRecords(R *t, size_t count, Cmp cmp)
{
    QuickSortRecords<BLOCKS>(t, count, cmp, [](const R *, const R *) {});
}

#endif
