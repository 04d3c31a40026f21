// A tree over the positions of a table of ranks that holds each node's
// least and greatest rank, so that a partition scan finds the first rank
// above, or the last below, a pivot in O(log n):
//
//   node 1              the whole table
//   node i              the positions of nodes 2i and 2i+1
//   node leaves + p     position p: least = greatest = its rank
//
// Positions count..leaves-1 are padding that no scan stops at: least
// UINT32_MAX, greatest 0. An exchange rewrites two leaves and their
// ancestors below the lowest they share.
#ifndef TALLORIX_ENGINE_RANK_TREE_H
#define TALLORIX_ENGINE_RANK_TREE_H

#include <stddef.h>
#include <stdint.h>

#include <algorithm>

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

#endif
