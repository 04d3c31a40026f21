// McIlroy's adversary ("A Killer Adversary for Quicksort", 1999): every item
// starts as gas, worth more than any solid item. When two gas items meet,
// the one that has been compared most recently (in a partition, the pivot)
// freezes to the next solid value, so each pivot turns out to be the
// smallest item left and each partition peels off one. The values given
// out, put back where the items started, are an input the same procedure
// sorts just as badly, since it sees the same comparison results.
#include "killer.h"

#include <stdio.h>

#include "engine/quicksort.h"

static std::vector<uint32_t> value;
static uint32_t gas, solid, candidate;

static int Compare(uint32_t x, uint32_t y)
{
    if (value[x] == gas && value[y] == gas) {
        if (x == candidate)
            value[x] = solid++;
        else
            value[y] = solid++;
    }
    if (value[x] == gas)
        candidate = x;
    else if (value[y] == gas)
        candidate = y;
    return value[x] < value[y] ? -1 : value[x] > value[y];
}

std::vector<uint16_t> MakeKillerText(size_t n, unsigned long long *comparisons)
{
    gas = (uint32_t)n;
    solid = 0;
    candidate = 0;
    value.assign(n, gas);
    std::vector<uint32_t> items(n);
    for (size_t i = 0; i < n; i++)
        items[i] = (uint32_t)i;
    unsigned long long count = 0;
    QuickSortRecords(items.data(), n, [&](const uint32_t *a, const uint32_t *b) {
        count++;
        return Compare(*a, *b);
    });
    if (comparisons)
        *comparisons = count;

    // Same width everywhere, so code-unit order is numeric order.
    int width = snprintf(NULL, 0, "%u", gas);
    std::vector<uint16_t> text;
    text.reserve(n * (width + 1) + 1);
    char digits[16];
    for (size_t i = 0; i < n; i++) {
        snprintf(digits, sizeof digits, "%0*u", width, value[i]);
        for (int k = 0; k < width; k++)
            text.push_back((uint8_t)digits[k]);
        text.push_back('\n');
    }
    text.push_back(0);
    value.clear();
    value.shrink_to_fit();
    return text;
}
