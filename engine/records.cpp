#include "records.h"

#include "exact_finish.h"

KeyOrder ChooseKeyOrder(SortOptions o)
{
    if (o.unicode && o.orderFile)
        return ORDER_CUSTOM;
    if (o.unicode)
        return o.numeric ? ORDER_NUMERIC_UNITS : ORDER_UNITS;
    return o.numeric ? ORDER_NUMERIC_BYTES : ORDER_BYTES;
}

KeyPrefix PackKey(const void *key, KeyOrder order)
{
    switch (order) {
    case ORDER_BYTES:
        return PackPrefix((const unsigned char *)key);
    case ORDER_NUMERIC_BYTES:
        return PackNumericPrefix((const unsigned char *)key);
    case ORDER_NUMERIC_UNITS:
        return PackNumericPrefix((const Unit16 *)key);
    case ORDER_CUSTOM:
        return PackCustomKey((const Unit16 *)key);
    default:
        return PackPrefix((const Unit16 *)key);
    }
}

// One instance of the quicksort per comparator, each with its comparison
// inlined. Descending exchanges the records, never negates the result.
// Past the guard's budget the sort is finished on ranks where the order is
// a total preorder over these keys.
#define SORT_BY(compare, descending, ahead)                                              \
    do {                                                                                 \
        auto certified = [t, n, order] { return IsTotalPreorderOver(t, n, order); };     \
        if (descending)                                                                  \
            GuardedQuickSort(                                                            \
                t, n, [](const SortRecord *a, const SortRecord *b) { return compare(b, a); }, \
                ahead, certified);                                                       \
        else                                                                             \
            GuardedQuickSort(                                                            \
                t, n, [](const SortRecord *a, const SortRecord *b) { return compare(a, b); }, \
                ahead, certified);                                                       \
    } while (0)

// Numeric unit keys read the keys often enough, and their prefixes tell
// well enough when, that fetching a key the scan is about to compare pays.
static const auto Nothing = [](const SortRecord *, const SortRecord *) {};

static const auto FetchTiedKey = [](const SortRecord *r, const SortRecord *pivot) {
    if (r->prefix.hi == pivot->prefix.hi)
        __builtin_prefetch(r->entry.key);
};

void SortRecords(SortRecord *t, size_t n, KeyOrder order, bool descending)
{
    switch (order) {
    case ORDER_BYTES:
        SORT_BY(ComparePlainRecords<unsigned char>, descending, Nothing);
        break;
    case ORDER_UNITS:
        SORT_BY(ComparePlainRecords<Unit16>, descending, Nothing);
        break;
    case ORDER_NUMERIC_BYTES:
        SORT_BY(CompareNumericRecords<unsigned char>, descending, Nothing);
        break;
    case ORDER_NUMERIC_UNITS:
        SORT_BY(CompareNumericRecords<Unit16>, descending, FetchTiedKey);
        break;
    case ORDER_CUSTOM:
        SORT_BY(CompareCustomRecords, descending, Nothing);
        break;
    }
}
