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
// pivot. On ranks, a scan's stop is found in O(log n) from a tree over the
// positions that holds each node's least and greatest rank:
//
//   node 1              the whole table
//   node i              the positions of nodes 2i and 2i+1
//   node leaves + p     position p: least = greatest = its rank
//
// Positions count..leaves-1 are padding that no scan stops at: least
// UINT32_MAX, greatest 0. An exchange rewrites two leaves and their
// ancestors below the lowest they share. A partition then costs O((1 + exchanges) log n), and the sort
// O(n log^2 n).
#ifndef TALLORIX_ENGINE_EXACT_FINISH_H
#define TALLORIX_ENGINE_EXACT_FINISH_H

#include <algorithm>

#include "platform.h"
#include "quicksort.h"

struct RankTree {
    uint32_t *least, *greatest;  // 2 * leaves nodes each; node 0 unused
    size_t leaves;               // a power of two, at least the record count
};

static inline uint32_t RankAt(const RankTree *r, size_t p)
{
    return r->least[r->leaves + p];
}

// Exchanges the ranks at positions p and q. Nodes above both keep the same
// ranks, so only the two paths below their lowest common node change.
static inline void SwapRanks(RankTree *r, size_t p, size_t q)
{
    size_t i = r->leaves + p, j = r->leaves + q;
    uint32_t a = r->least[i];
    r->least[i] = r->greatest[i] = r->least[j];
    r->least[j] = r->greatest[j] = a;
    for (i >>= 1, j >>= 1; i != j; i >>= 1, j >>= 1) {
        r->least[i] = std::min(r->least[2 * i], r->least[2 * i + 1]);
        r->greatest[i] = std::max(r->greatest[2 * i], r->greatest[2 * i + 1]);
        r->least[j] = std::min(r->least[2 * j], r->least[2 * j + 1]);
        r->greatest[j] = std::max(r->greatest[2 * j], r->greatest[2 * j + 1]);
    }
}

// The first position in a .. b whose rank is above pivot, else b + 1.
static inline size_t FirstAbove(const RankTree *r, size_t a, size_t b, uint32_t pivot)
{
    if (a > b)
        return b + 1;
    size_t i = r->leaves + a;
    // Whole subtrees, left to right from a, until one holds such a rank:
    // up past right children, then across to the right sibling.
    while (r->greatest[i] <= pivot) {
        while (i & 1)
            i >>= 1;
        if (i == 0)
            return b + 1;
        i++;
    }
    while (i < r->leaves) {
        i = 2 * i;
        if (r->greatest[i] <= pivot)
            i++;
    }
    size_t p = i - r->leaves;
    return p <= b ? p : b + 1;
}

// The last position in a .. b whose rank is below pivot, else a - 1.
static inline size_t LastBelow(const RankTree *r, size_t a, size_t b, uint32_t pivot)
{
    if (b < a)
        return a - 1;
    size_t i = r->leaves + b;
    // Whole subtrees, right to left from b: up past left children, then
    // across to the left sibling; the root has none.
    while (r->least[i] >= pivot) {
        while (!(i & 1))
            i >>= 1;
        if (i == 1)
            return a - 1;
        i--;
    }
    while (i < r->leaves) {
        i = 2 * i + 1;
        if (r->least[i] >= pivot)
            i--;
    }
    size_t p = i - r->leaves;
    return p >= a ? p : a - 1;
}

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
};

// Memory for the tree of a table of count records: 16 bytes a leaf, the
// leaves a power of two. 0 when it cannot be expressed.
static inline size_t RankTreeBytes(size_t count, size_t *leaves)
{
    if (count >= UINT32_MAX)
        return 0;  // ranks and record numbers are 32-bit
    size_t n = 16;
    while (n < count)
        n *= 2;
    *leaves = n;
    if (n > SIZE_MAX / (4 * sizeof(uint32_t)))
        return 0;
    return 4 * n * sizeof(uint32_t);
}

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

// The procedure on the whole table, guarded: past the guard's budget it
// hands over to the exact finish, and goes on directly when the finish's
// memory cannot be had. The result is the same either way. cmp must be a
// total preorder on the records (key_order.h says why every order is).
template <typename R, typename Cmp, typename Ahead>
void GuardedQuickSort(R *t, size_t count, Cmp cmp, Ahead ahead)
{
    if (count < 2)
        return;
    QuickSortState s;
    StartQuickSort(&s, count);
    DirectOps<R, Cmp, Ahead> ops = {t, cmp, ahead, R()};
    Guard guard = NewGuard(count);
    // One call of the steps, so that they are compiled once, inline.
    while (!QuickSortSteps(&s, ops, &guard)) {
        if (FinishExactly(t, count, cmp, &s)) {
            exactFinishCount++;
            return;
        }
        guard.budget = guard.stallBudget = UINT64_MAX;
    }
}

#endif
