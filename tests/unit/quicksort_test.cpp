// The line-table quicksort. Its order of equal keys is observable, so each
// result is checked record for record against the reference procedure.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tests/reference/unguarded_sort.h"
#include "tests/reference/procedure.h"

namespace {

// Keys are ints; line points at the record's original index.
int32_t CompareInts(const LineEntry *a, const LineEntry *b)
{
    int x = *(const int *)a->key, y = *(const int *)b->key;
    return (x > y) - (x < y);
}

// The engine's procedure, its scans one record at a time or, with blocks,
// a block at a time where the range allows.
std::vector<int> EngineOrder(const std::vector<int> &key, bool blocks = false)
{
    static const Unit16 ids[4000] = {};
    std::vector<LineEntry> table(key.size());
    for (size_t i = 0; i < key.size(); i++)
        table[i] = {&key[i], &ids[i]};
    if (blocks)
        QuickSortRecords<true>(table.data(), table.size(), CompareInts);
    else
        QuickSortRecords(table.data(), table.size(), CompareInts);
    std::vector<int> order;
    for (const LineEntry &e : table)
        order.push_back((int)(e.line - ids));
    return order;
}

std::vector<int> ReferenceOrder(const std::vector<int> &key)
{
    std::vector<size_t> order(key.size());
    for (size_t i = 0; i < key.size(); i++)
        order[i] = i;
    RefQuickSort(order, [&key](size_t x, size_t y) { return (key[x] > key[y]) - (key[x] < key[y]); });
    return std::vector<int>(order.begin(), order.end());
}

TEST(QuickSort, EqualKeysOfTwoAndThreeRecords)
{
    for (bool blocks : {false, true}) {
        EXPECT_EQ(EngineOrder({5, 5}, blocks), (std::vector<int>{1, 0}));
        EXPECT_EQ(EngineOrder({5, 5, 5}, blocks), (std::vector<int>{1, 2, 0}));
    }
}

TEST(QuickSort, PermutationMatchesProcedure)
{
    std::mt19937 rng(20240611);
    for (int t = 0; t < 600; t++) {
        // Mostly few distinct keys; some runs sorted, reversed or all equal.
        int n = (int)(rng() % (t < 500 ? 120 : 2000));
        int range = (int)(rng() % 6 == 0 ? 1000000 : 1 + rng() % 5);
        int shape = (int)(rng() % 8);
        std::vector<int> key(n);
        for (int i = 0; i < n; i++)
            key[i] = shape == 0 ? i : shape == 1 ? n - i : shape == 2 ? std::min(i, n - i)
                                                                      : (int)(rng() % range);
        std::vector<int> want = ReferenceOrder(key);
        for (bool blocks : {false, true}) {
            std::vector<int> got = EngineOrder(key, blocks);
            ASSERT_EQ(got, want) << "records: " << n << ", shape " << shape << (blocks ? ", blocks" : "");
            for (int i = 1; i < n; i++)
                ASSERT_LE(key[got[i - 1]], key[got[i]]);
        }
    }
}

// Blocks are taken while 64 records lie unread between the scans, so
// their bookkeeping (stops left over on one side, the hand-back to the
// scans, ranges just over a block or two) shows on larger tables.
TEST(QuickSort, BlocksMatchProcedure)
{
    std::mt19937 rng(20261210);
    for (int t = 0; t < 300; t++) {
        int n = 60 + (int)(rng() % 3000);
        int range = (int)(rng() % 4 == 0 ? 1000000 : 1 + rng() % 8);
        int shape = (int)(rng() % 6);
        std::vector<int> key(n);
        for (int i = 0; i < n; i++)
            key[i] = shape == 0 ? i % range : shape == 1 ? (n - i) % range
                   : shape == 2 ? (rng() % 50 ? 0 : (int)(rng() % 3) - 1)  // mostly equal
                                : (int)(rng() % range);
        ASSERT_EQ(EngineOrder(key, true), ReferenceOrder(key)) << "records: " << n << ", shape " << shape;
    }
}

}  // namespace
