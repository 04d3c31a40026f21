#include "quicksort.h"

int64_t guardBudget = -1;
unsigned long exactFinishCount;

Guard NewGuard(size_t n)
{
    if (guardBudget >= 0)
        return {0, (uint64_t)guardBudget, 0, (uint64_t)guardBudget};
    uint64_t log2n = 0;
    while (((uint64_t)1 << log2n) < n)
        log2n++;
    return {0, GUARD_FACTOR * (uint64_t)n * log2n, 0, STALL_FACTOR * (uint64_t)n};
}
