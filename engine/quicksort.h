// The engine's own in-place quicksort of the line table. It is not stable:
// the order of records whose keys compare equal is part of the module's
// observable behaviour, so the procedure must not change.
//
// Keys that compare equal to a pivot are skipped by both of a partition's
// scans, so a table with many equal keys drives the procedure towards
// quadratic time. A guard counts the positions its partitions cover; past a
// budget of GUARD_FACTOR * n * log2(n) it hands over to an exact finish
// (exact_finish.h) that goes on from the same state with the same decisions
// at O(log n) a scan.
#ifndef TALLORIX_ENGINE_QUICKSORT_H
#define TALLORIX_ENGINE_QUICKSORT_H

#include <stdint.h>

#include "types.h"

// Where the procedure stands before a step: the range it takes next and the
// ranges pushed. The larger part is always the one pushed, so 30 ranges
// suffice for any 32-bit table; the 64-bit build gets room to spare.
struct QuickSortState {
    size_t lo, hi;
    int depth;
    struct Range {
        size_t lo, hi;
    } stack[64];
};

// The state before the first step on a table of count records, count >= 2.
static inline void StartQuickSort(QuickSortState *s, size_t count)
{
    s->lo = 0;
    s->hi = count - 1;
    s->depth = 0;
}

// The procedure from state *s over a table seen through ops:
//
//   ops.Greater(p, q)   whether record p sorts after record q
//   ops.Swap(p, q)      exchanges records p and q (p may equal q)
//   ops.TakePivot(p)    record p is the pivot of the scans that follow
//   ops.ScanUp(l, hi)   the first p in l+1 .. hi that sorts after the
//                       pivot, else hi + 1
//   ops.ScanDown(h, lo) the last p in lo+1 .. h-1 that sorts before the
//                       pivot, else lo
//   ops.Blocks(&l, &h)  from the scans' start (l = lo, h = hi + 1), makes
//                       some of the exchanges the loop of scans would make
//                       first, the same in the same order, and leaves l and
//                       h where the scans go on from, as if they had made
//                       them; or changes nothing
//
// The guard's count of the positions that partitions covered, in all and
// in partitions that stalled: partitions of STALL_RANGE records or more
// whose larger part kept all but less than a 64th of the range, as a table
// of two values or the killer order make nearly every partition do. Such
// partitions stream over a whole range, too large for the caches, to take
// a record or two off it. Stalled partitions of smaller ranges are common
// in ordinary tables that hold groups of equal keys, and cheap; the budget
// of all the work bounds them.
enum { STALL_RANGE = 1 << 14 };

struct Guard {
    uint64_t work, budget;
    uint64_t stalled, stallBudget;
};

// Before each partition of a range of more than 8 records the guard's
// counts are checked; once either has reached its budget the step is not
// taken and false is returned, *s holding the state to go on from. True
// when sorted.
template <typename Ops>
static inline __attribute__((always_inline)) bool QuickSortSteps(QuickSortState *s, Ops ops, Guard *g)
{
    // Locals, so that the compiler keeps them in registers.
    size_t lo = s->lo, hi = s->hi;
    int depth = s->depth;
    uint64_t work = g->work, stalled = g->stalled;
    for (;;) {
        size_t size = hi - lo + 1;
        if (size <= 8) {
            // Selection sort towards the top; among equal maxima the first
            // one found is moved.
            while (hi > lo) {
                size_t max = lo;
                for (size_t p = lo + 1; p <= hi; p++)
                    if (ops.Greater(p, max))
                        max = p;
                ops.Swap(max, hi);
                hi--;
            }
        } else {
            if (work >= g->budget || stalled >= g->stallBudget) {
                s->lo = lo;
                s->hi = hi;
                s->depth = depth;
                g->work = work;
                g->stalled = stalled;
                return false;
            }
            work += size;
            ops.Swap(lo + size / 2, lo);  // middle record as pivot, at lo
            ops.TakePivot(lo);
            size_t l = lo, h = hi + 1;
            ops.Blocks(&l, &h);
            for (;;) {
                l = ops.ScanUp(l, hi);
                h = ops.ScanDown(h, lo);
                if (h < l)
                    break;
                ops.Swap(l, h);
            }
            ops.Swap(lo, h);

            // Left part lo .. h-1, right part l .. hi; records between
            // them equal the pivot and are in place.
            size_t larger = h - lo > hi + 1 - l ? h - lo : hi + 1 - l;
            if (size >= STALL_RANGE && size - larger < size / 64)
                stalled += size;
            if (h - lo < hi - l + 1) {
                if (l < hi)
                    s->stack[depth++] = {l, hi};
                if (lo + 1 < h) {
                    hi = h - 1;
                    continue;
                }
            } else {
                if (lo + 1 < h)
                    s->stack[depth++] = {lo, h - 1};
                if (l < hi) {
                    lo = l;
                    continue;
                }
            }
        }
        if (depth == 0)
            return true;
        depth--;
        lo = s->stack[depth].lo;
        hi = s->stack[depth].hi;
    }
}

// The table itself through a record comparator cmp(const R *, const R *),
// of which only the sign is used; given a lambda, the comparison is
// compiled into the scans. ahead(r, pivot) is shown the record that a scan
// will compare with the pivot AHEAD steps later, so that it may fetch what
// that comparison will read; it must change nothing. BLOCKS chooses the
// scans a block at a time (Blocks below) for ranges that allow them; they
// pay where the comparison itself seldom branches.
enum { AHEAD = 8 };

template <typename R, typename Cmp, typename Ahead, bool BLOCKS = false>
struct DirectOps {
    R *t;
    Cmp cmp;
    Ahead ahead;
    // A copy of the pivot, which stays at its place until the scans end,
    // lets the compiler keep it in registers.
    R pivot;

    bool Greater(size_t p, size_t q) { return cmp(&t[p], &t[q]) > 0; }
    void Swap(size_t i, size_t j)
    {
        if (i != j) {
            R e = t[i];
            t[i] = t[j];
            t[j] = e;
        }
    }
    void TakePivot(size_t p) { pivot = t[p]; }
    size_t ScanUp(size_t l, size_t hi)
    {
        do {
            l++;
            if (l + AHEAD <= hi)
                ahead(&t[l + AHEAD], &pivot);
        } while (l <= hi && cmp(&t[l], &pivot) <= 0);
        return l;
    }
    size_t ScanDown(size_t h, size_t lo)
    {
        do {
            h--;
            if (h >= lo + AHEAD)
                ahead(&t[h - AHEAD], &pivot);
        } while (h > lo && cmp(&t[h], &pivot) >= 0);
        return h;
    }

    // The scans a block at a time, as BlockQuicksort partitions: the left
    // scan's stops among the next BLOCK records (those that sort after the
    // pivot) and the right scan's among the BLOCK before its frontier are
    // noted without a branch on the comparison, which a scan mispredicts
    // about once a stop; then the k-th stop from the left is exchanged with
    // the k-th from the right, as the scans would exchange them.
    //
    // Why the exchanges are the scans': until they meet, the scans read only
    // records that no exchange has moved, so the left scan stops at each
    // record after the pivot in turn from the left, the right one at each
    // before it from the right, and each pair is exchanged. Blocks are taken
    // only between the frontiers of what was read, so that every block
    // record is unmoved and every left stop lies before every right one.
    // Once too few records are left for a block, the scans go on: from just
    // before the first stop noted and not yet exchanged, or else from the
    // last record a block read, as every record between the last pair
    // exchanged and there sorts on its side of the pivot. So no record is
    // read twice; a partition whose stops all lie on one side (equal keys
    // make many) would otherwise be scanned twice over.
    enum { BLOCK = 64 };
    void Blocks(size_t *lp, size_t *hp)
    {
        if (!BLOCKS)
            return;
        size_t left = *lp, right = *hp;  // unread: left + 1 .. right - 1
        size_t baseL = 0, baseR = 0;
        int countL = 0, countR = 0, nextL = 0, nextR = 0;
        unsigned char stopsL[BLOCK], stopsR[BLOCK];
        for (;;) {
            if (nextL == countL) {
                if (right - left - 1 < BLOCK)
                    break;
                baseL = left + 1;
                countL = nextL = 0;
                for (int j = 0; j < BLOCK; j++) {
                    stopsL[countL] = (unsigned char)j;
                    countL += cmp(&t[baseL + j], &pivot) > 0;
                }
                left += BLOCK;
            }
            if (nextR == countR) {
                if (right - left - 1 < BLOCK)
                    break;
                baseR = right - 1;
                countR = nextR = 0;
                for (int j = 0; j < BLOCK; j++) {
                    stopsR[countR] = (unsigned char)j;
                    countR += cmp(&t[baseR - j], &pivot) < 0;
                }
                right -= BLOCK;
            }
            for (; nextL < countL && nextR < countR; nextL++, nextR++) {
                size_t l = baseL + stopsL[nextL], h = baseR - stopsR[nextR];
                R e = t[l];
                t[l] = t[h];
                t[h] = e;
            }
        }
        *lp = nextL < countL ? baseL + stopsL[nextL] - 1 : left;
        *hp = nextR < countR ? baseR - stopsR[nextR] + 1 : right;
    }
};

// The guard for n records: a budget of GUARD_FACTOR * n * log2(n)
// positions in all, half again what the benchmark's ordinary tables take at
// most, and of STALL_FACTOR * n in stalled partitions, over twice what they
// stall in large ranges.
enum { GUARD_FACTOR = 4, STALL_FACTOR = 4 };

Guard NewGuard(size_t n);

// Test hooks, only where TALLORIX_TEST_HOOKS is defined (the native engine
// of the tests, fuzzers and benchmarks, and the test-only module), never in
// a shipped module. The whole build of a program defines it or not, as the
// templates below read it.
//   guardBudget       replaces both budgets when not negative: 0 hands
//                     over at the first partition, GUARD_OFF never
//   exactFinishCount  sorts finished on ranks, to tell which way one went
static const int64_t GUARD_OFF = INT64_MAX;
#ifdef TALLORIX_TEST_HOOKS
extern int64_t guardBudget;
extern unsigned long exactFinishCount;
#endif

// The exact finish (exact_finish.h, which whoever sorts includes): goes
// on from *s on the records' ranks; false, with nothing changed, when its
// memory cannot be had.
template <typename R, typename Cmp>
bool FinishExactly(R *t, size_t count, Cmp cmp, QuickSortState *s);

// The module's sort: the procedure on the whole table, guarded. Past the
// guard's budget it hands over to the exact finish, and goes on directly
// when the finish's memory cannot be had. The result is the same either
// way. cmp must be a total preorder on the records (sort_orders.h says why
// every order is).
template <bool BLOCKS = false, typename R, typename Cmp, typename Ahead>
void GuardedQuickSort(R *t, size_t count, Cmp cmp, Ahead ahead)
{
    if (count < 2)
        return;
    QuickSortState s;
    StartQuickSort(&s, count);
    DirectOps<R, Cmp, Ahead, BLOCKS> ops = {t, cmp, ahead, R()};
    Guard guard = NewGuard(count);
    // One call of the steps, so that they are compiled once, inline.
    while (!QuickSortSteps(&s, ops, &guard)) {
        if (FinishExactly(t, count, cmp, &s)) {
#ifdef TALLORIX_TEST_HOOKS
            exactFinishCount++;
#endif
            return;
        }
        guard.budget = guard.stallBudget = UINT64_MAX;
    }
}

#endif
