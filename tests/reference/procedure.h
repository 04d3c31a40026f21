// The reference procedure: the module's quicksort step by step, written
// apart from the engine's, over record numbers, so that the order of equal
// keys (and the result under an order that is not a total preorder) can be
// predicted exactly. Whatever the engine does to go faster, its result must
// be this one's.
#ifndef TALLORIX_TESTS_REFERENCE_PROCEDURE_H
#define TALLORIX_TESTS_REFERENCE_PROCEDURE_H

#include <stddef.h>
#include <stdint.h>

#include <utility>
#include <vector>

// cmp(x, y) compares the records numbered x and y.
template <typename Cmp>
void RefQuickSort(std::vector<size_t> &t, Cmp cmp)
{
    if (t.size() < 2)
        return;
    std::vector<std::pair<size_t, size_t>> stack;
    size_t lo = 0, hi = t.size() - 1;
    auto swap = [&t](size_t i, size_t j) { std::swap(t[i], t[j]); };
    for (;;) {
        size_t size = hi - lo + 1;
        bool more = false;
        if (size <= 8) {
            while (hi > lo) {
                size_t max = lo;
                for (size_t p = lo + 1; p <= hi; p++)
                    if (cmp(t[p], t[max]) > 0)
                        max = p;
                swap(max, hi);
                hi--;
            }
        } else {
            swap(lo + size / 2, lo);
            size_t l = lo, h = hi + 1;
            for (;;) {
                l++;
                while (l <= hi && cmp(t[l], t[lo]) <= 0)
                    l++;
                h--;
                while (h > lo && cmp(t[h], t[lo]) >= 0)
                    h--;
                if (h < l)
                    break;
                swap(l, h);
            }
            swap(lo, h);
            if (h - lo < hi - l + 1) {
                if (l < hi)
                    stack.push_back({l, hi});
                if (lo + 1 < h) {
                    hi = h - 1;
                    more = true;
                }
            } else {
                if (lo + 1 < h)
                    stack.push_back({lo, h - 1});
                if (l < hi) {
                    lo = l;
                    more = true;
                }
            }
        }
        if (more)
            continue;
        if (stack.empty())
            return;
        lo = stack.back().first;
        hi = stack.back().second;
        stack.pop_back();
    }
}

#endif
