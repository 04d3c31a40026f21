#include "sort_orders.h"

#include "exact_finish.h"

KeyOrder ChooseKeyOrder(SortOptions o)
{
    if (o.dictionary) {
        DictionaryKanji kanji = !o.unicode ? DICT_KANJI_CP932 : o.orderFile ? DICT_KANJI_RANKED : DICT_KANJI_CODE_POINT;
        return DictionaryKeyOrder(o.numeric, o.ignoreCase, kanji);
    }
    if (OrderFileOrders(o))
        return ORDER_CUSTOM;
    if (o.unicode)
        return o.numeric ? ORDER_NUMERIC_UNITS : ORDER_UNITS;
    return o.numeric ? ORDER_NUMERIC_BYTES : ORDER_BYTES;
}

// One instance of the quicksort per order and direction, each with its
// comparison inlined. Past the guard's budget the sort is finished on
// ranks.
void SortRecords(SortRecord *t, size_t n, KeyOrder order, const void *keys, const OrderFile *file, bool descending)
{
    WithKeyOrder(order, keys, file, [=](auto o) {
        enum { BLOCKS = decltype(o)::BLOCKS };
        auto ahead = [o](const SortRecord *r, const SortRecord *pivot) { o.Ahead(r, pivot); };
        if (descending)
            GuardedQuickSort<BLOCKS>(
                t, n, [o](const SortRecord *a, const SortRecord *b) { return o.Compare(b, a); }, ahead);
        else
            GuardedQuickSort<BLOCKS>(
                t, n, [o](const SortRecord *a, const SortRecord *b) { return o.Compare(a, b); }, ahead);
    });
}
