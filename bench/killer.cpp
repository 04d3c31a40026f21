// An input the quicksort takes quadratic time on. The pivot is the middle
// record of each range; when it is the smallest record of its range, the
// partition scans the whole range, moves nothing but the pivot and leaves
// a right part one record shorter. The order is built by running the
// procedure on positions alone: at each step the record moved to lo is
// the one that must hold the smallest value left. (McIlroy's adversary
// finds the same kind of order by playing the comparisons; this is O(n).)
#include "killer.h"

#include <stdio.h>

std::vector<uint16_t> MakeKillerText(size_t n)
{
    std::vector<uint32_t> at(n), value(n);  // at[i]: the record now at i
    for (size_t i = 0; i < n; i++)
        at[i] = (uint32_t)i;
    size_t lo = 0;
    for (; n - lo > 8; lo++) {
        size_t mid = lo + (n - lo) / 2;
        uint32_t e = at[mid];
        at[mid] = at[lo];
        at[lo] = e;
        value[at[lo]] = (uint32_t)lo;
    }
    for (; lo < n; lo++)  // the last few go to the selection sort
        value[at[lo]] = (uint32_t)lo;

    // Same width everywhere, so code-unit order is numeric order.
    int width = snprintf(NULL, 0, "%zu", n);
    std::vector<uint16_t> text;
    text.reserve(n * (width + 1) + 1);
    char digits[24];
    for (size_t i = 0; i < n; i++) {
        snprintf(digits, sizeof digits, "%0*u", width, (unsigned)value[i]);
        for (int k = 0; k < width; k++)
            text.push_back((uint8_t)digits[k]);
        text.push_back('\n');
    }
    text.push_back(0);
    return text;
}
