#include "quicksort.h"

#ifdef TALLORIX_TEST_HOOKS
int64_t guardBudget = -1;
unsigned long exactFinishCount;
#endif

Guard NewGuard(size_t n)
{
#ifdef TALLORIX_TEST_HOOKS
    if (guardBudget >= 0)
        return {0, (uint64_t)guardBudget, 0, (uint64_t)guardBudget};
#endif
    uint64_t log2n = 0;
    while (((uint64_t)1 << log2n) < n)
        log2n++;
    return {0, GUARD_FACTOR * (uint64_t)n * log2n, 0, STALL_FACTOR * (uint64_t)n};
}
