// The quicksort's exact finish, for tables that the guard finds too costly.
//
// Every decision of the procedure (which record is the pivot, where a scan
// stops, what is exchanged, which part is pushed) depends only on the signs
// of comparisons. Where the order is a total preorder over the keys at hand,
// ranking the records once (equal keys sharing a rank) gives every
// comparison's sign as the sign of a difference of ranks. The finish then
// takes the procedure on from where the guard stopped it, on the ranks, and
// so makes the same exchanges: the same permutation, equal keys included.
//
// What made the procedure slow was scanning over records equal to the
// pivot. On ranks, a scan's stop is found in O(log n) from a tree of least
// and greatest ranks (rank_tree.h). A partition then costs
// O((1 + exchanges) log n), and the sort O(n log^2 n).
#ifndef TALLORIX_ENGINE_EXACT_FINISH_H
#define TALLORIX_ENGINE_EXACT_FINISH_H

#include "platform.h"
#include "quicksort.h"
#include "rank_sort.h"
#include "rank_tree.h"

// The procedure's operations on the ranks; the records move with them.
template <typename R>
struct RankOps {
    R *t;
    RankTree tree;
    uint32_t pivot;

    bool Greater(size_t p, size_t q) { return RankAt(&tree, p) > RankAt(&tree, q); }
    void Swap(size_t i, size_t j)
    {
        if (i == j)
            return;
        R e = t[i];
        t[i] = t[j];
        t[j] = e;
        if (RankAt(&tree, i) != RankAt(&tree, j))
            SwapRanks(&tree, i, j);
    }
    void TakePivot(size_t p) { pivot = RankAt(&tree, p); }
    size_t ScanUp(size_t l, size_t hi) { return FirstAbove(&tree, l + 1, hi, pivot); }
    size_t ScanDown(size_t h, size_t lo) { return LastBelow(&tree, lo + 1, h - 1, pivot); }
    // The tree finds each stop in O(log n): blocks would only cost more.
    void Blocks(size_t *, size_t *) {}
};

// Finishes the sort from *s on the ranks that cmp gives the records. cmp
// must be a total preorder over these records. False, with nothing
// changed, when the memory for the tree cannot be had.
template <typename R, typename Cmp>
bool FinishExactly(R *t, size_t count, Cmp cmp, QuickSortState *s)
{
    RankTree tree;
    size_t bytes = RankTreeBytes(count, &tree.leaves);
    void *memory = bytes ? PlatformLocalAlloc(bytes) : NULL;
    if (!memory)
        return false;
    size_t leaves = tree.leaves;
    tree.least = (uint32_t *)memory;
    tree.greatest = tree.least + 2 * leaves;

    // Rank the records: their numbers sorted by the comparison, a record
    // that compares above the one before it starting a new rank. The
    // numbers are sorted in the room the tree's greatest values will take,
    // and the ranks written to the leaves of least.
    uint32_t *numbers = tree.greatest + leaves;
    for (size_t i = 0; i < count; i++)
        numbers[i] = (uint32_t)i;
    numbers = SortRecordNumbers(t, cmp, numbers, tree.greatest, count);
    uint32_t rank = 0;
    for (size_t i = 0; i < count; i++) {
        if (i > 0 && cmp(&t[numbers[i - 1]], &t[numbers[i]]) < 0)
            rank++;
        tree.least[leaves + numbers[i]] = rank;
    }
    for (size_t p = 0; p < leaves; p++) {
        if (p < count) {
            tree.greatest[leaves + p] = tree.least[leaves + p];
        } else {
            tree.least[leaves + p] = UINT32_MAX;
            tree.greatest[leaves + p] = 0;
        }
    }
    for (size_t i = leaves - 1; i > 0; i--) {
        tree.least[i] = std::min(tree.least[2 * i], tree.least[2 * i + 1]);
        tree.greatest[i] = std::max(tree.greatest[2 * i], tree.greatest[2 * i + 1]);
    }

    RankOps<R> ops = {t, tree, 0};
    Guard never = {0, UINT64_MAX, 0, UINT64_MAX};
    QuickSortSteps(s, ops, &never);
    PlatformLocalFree(memory);
    return true;
}

#endif
