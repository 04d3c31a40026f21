// The orders the sort knows, and the one place that maps each to its unit,
// its packing and its record comparison. Everything that packs or compares
// records (the line table, the sort, the benchmark, the tests) goes through
// WithKeyOrder, so that each gets the order's functions at compile time,
// inlined, and a new order is added here and nowhere else.
#ifndef TALLORIX_ENGINE_KEY_ORDER_H
#define TALLORIX_ENGINE_KEY_ORDER_H

#include "custom_prefix.h"
#include "numeric_prefix.h"
#include "prefix.h"

enum KeyOrder {
    ORDER_BYTES,          // code page 932 bytes
    ORDER_UNITS,          // UTF-16 code units
    ORDER_NUMERIC_BYTES,  // bytes, digit runs by value
    ORDER_NUMERIC_UNITS,  // units, digit runs by value
    ORDER_CUSTOM,         // units, by the loaded order table
};

// The order the options choose: the order table counts only in Unicode
// mode, and wins over numeric runs there.
KeyOrder ChooseKeyOrder(SortOptions options);

// Sufficient conditions for the order to be a total preorder over the keys
// of these records, which the quicksort's exact finish needs
// (total_order.cpp has the proofs and the counterexamples).
template <typename U>
bool NumericRunsBelow2To31(const SortRecord *table, size_t count);
bool CustomPairsFollowOneUnit(const SortRecord *table, size_t count);

// What each order gives WithKeyOrder's function:
//   Unit       the key's unit type
//   Pack       the record prefix of a NUL-terminated key
//   Compare    the record comparison: the sign of the order on the two keys
//              (numeric order: its exact value)
//   Ahead      called on each record a partition scan compares with the
//              pivot, to fetch what a later comparison will read
//   TotalOver  whether the order is a total preorder over these records
template <typename U>
struct PlainOrder {
    typedef U Unit;
    static KeyPrefix Pack(const U *key) { return PackPrefix(key); }
    static int32_t Compare(const SortRecord *a, const SortRecord *b) { return ComparePlainRecords<U>(a, b); }
    static void Ahead(const SortRecord *, const SortRecord *) {}
    static bool TotalOver(const SortRecord *, size_t) { return true; }  // a total order
};

template <typename U>
struct NumericOrder {
    typedef U Unit;
    static KeyPrefix Pack(const U *key) { return PackNumericPrefix(key); }
    static int32_t Compare(const SortRecord *a, const SortRecord *b) { return CompareNumericRecords<U>(a, b); }
    // Numeric unit keys read the keys often enough, and their prefixes
    // tell well enough when, that fetching a key the scan is about to
    // compare pays.
    static void Ahead(const SortRecord *r, const SortRecord *pivot)
    {
        if (sizeof(U) == 2 && r->prefix.hi == pivot->prefix.hi)
            __builtin_prefetch(r->entry.key);
    }
    static bool TotalOver(const SortRecord *t, size_t n) { return NumericRunsBelow2To31<U>(t, n); }
};

struct CustomOrder {
    typedef Unit16 Unit;
    static KeyPrefix Pack(const Unit16 *key) { return PackCustomKey(key); }
    static int32_t Compare(const SortRecord *a, const SortRecord *b) { return CompareCustomRecords(a, b); }
    static void Ahead(const SortRecord *, const SortRecord *) {}
    static bool TotalOver(const SortRecord *t, size_t n) { return CustomPairsFollowOneUnit(t, n); }
};

// Calls f with a value of the order's type above; f is a generic lambda,
// instantiated once per order.
template <typename F>
static inline void WithKeyOrder(KeyOrder order, F f)
{
    switch (order) {
    case ORDER_BYTES:
        f(PlainOrder<unsigned char>());
        break;
    case ORDER_UNITS:
        f(PlainOrder<Unit16>());
        break;
    case ORDER_NUMERIC_BYTES:
        f(NumericOrder<unsigned char>());
        break;
    case ORDER_NUMERIC_UNITS:
        f(NumericOrder<Unit16>());
        break;
    case ORDER_CUSTOM:
        f(CustomOrder());
        break;
    }
}

// One record's prefix, and one comparison, for callers that do not sort
// (the tests and the benchmark); the sort inlines the order's own.
static inline KeyPrefix PackKey(const void *key, KeyOrder order)
{
    KeyPrefix p = {0, 0};
    WithKeyOrder(order, [&](auto o) { p = decltype(o)::Pack((const typename decltype(o)::Unit *)key); });
    return p;
}

static inline int32_t CompareRecords(const SortRecord *a, const SortRecord *b, KeyOrder order)
{
    int32_t r = 0;
    WithKeyOrder(order, [&](auto o) { r = decltype(o)::Compare(a, b); });
    return r;
}

// Sorts the records by the order's record comparison with the module's
// quicksort; descending by exchanging the records, never by negating.
void SortRecords(SortRecord *table, size_t count, KeyOrder order, bool descending);

#endif
