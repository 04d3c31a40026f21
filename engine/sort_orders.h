// The orders the sort knows, and the one place that maps each to its unit,
// its packing and its record comparison. Everything that packs or compares
// records (the line table, the sort, the benchmark, the tests) goes through
// WithKeyOrder, so that each gets the order's functions at compile time,
// inlined, and a new order is added here and nowhere else.
#ifndef TALLORIX_ENGINE_SORT_ORDERS_H
#define TALLORIX_ENGINE_SORT_ORDERS_H

#include "custom_prefix.h"
#include "dictionary_order.h"
#include "numeric_prefix.h"
#include "prefix.h"

enum KeyOrder {
    ORDER_BYTES,          // code page 932 bytes
    ORDER_UNITS,          // UTF-16 code units
    ORDER_NUMERIC_BYTES,  // bytes, digit runs by value
    ORDER_NUMERIC_UNITS,  // units, digit runs by value
    ORDER_CUSTOM,         // units, by the loaded order table
    // Dictionary order (dictionary_order.h) is ORDER_DICTIONARY with the
    // settings it reads in the low bits:
    //
    //   bits  holds
    //   ----  ------------------------------------------------------------
    //   0     ORDER_DICTIONARY_NUMERIC: digit runs by value
    //   1     ORDER_DICTIONARY_IGNORE_CASE: Latin case does not count
    //   2-3   the kanji's order, a DictionaryKanji
    ORDER_DICTIONARY = 0x10,
    ORDER_DICTIONARY_NUMERIC = 0x01,
    ORDER_DICTIONARY_IGNORE_CASE = 0x02,
    ORDER_DICTIONARY_KANJI_SHIFT = 2,
};

// Dictionary order with the given settings.
static inline KeyOrder DictionaryKeyOrder(bool numeric, bool ignoreCase, DictionaryKanji kanji)
{
    return (KeyOrder)(ORDER_DICTIONARY | (numeric ? ORDER_DICTIONARY_NUMERIC : 0) |
                      (ignoreCase ? ORDER_DICTIONARY_IGNORE_CASE : 0) | kanji << ORDER_DICTIONARY_KANJI_SHIFT);
}

// The order the options choose: dictionary order where it is on; else the
// order table counts only in Unicode mode, and wins over numeric runs
// there.
KeyOrder ChooseKeyOrder(SortOptions options);

// Every order is a total preorder on any keys, which the quicksort's exact
// finish needs (ranks then give every comparison's sign):
//   - plain order compares units as unsigned integers, the end first: a
//     total order;
//   - numeric order reads a key as tokens, a digit run or a single other
//     unit, and compares token by token, the end first: runs by value,
//     other units by unit, a run against another unit by its first digit.
//     No other unit lies between '0' and '9', so every run compares alike
//     against a given unit; runs among themselves are ordered by value.
//     The tokens are thus totally preordered, and so, token by token, are
//     the keys;
//   - custom order reads a key as characters and orders the characters
//     totally by rank, then units (order_file.cpp): a total order on the
//     keys;
//   - dictionary order maps each key to five sequences of weights (one
//     per level; level 1 as its string of codes) and compares them in
//     turn, each lexicographically over totally ordered weights: a total
//     preorder on the keys.
// Were a comparison not a total preorder (runs read modulo 2^32, say), the
// finish would not be exact: 0, 2^30, 2^31 and 3 * 2^30 each below the
// next and the last below the first.

// What each order gives WithKeyOrder's function, as members of a value:
//   Unit       the key's unit type
//   Pack       the record prefix of a NUL-terminated key
//   Compare    the record comparison: the sign of the order on the two keys
//   Ahead      called on each record a partition scan compares with the
//              pivot, to fetch what a later comparison will read
//   BLOCKS     whether the quicksort scans a block at a time (quicksort.h):
//              for plain and custom order, whose comparison the prefix
//              words decide with hardly a branch, it took up to a sixth
//              off the sort; numeric order's comparison branches on what
//              the prefixes hold, and blocks made numeric-cp932's sort
//              some 15% slower
// Every order carries the start of the key buffer that its records name
// keys in (prefix.h); custom order also the command's order file, and
// dictionary order its settings.
template <typename U>
struct PlainOrder {
    typedef U Unit;
    enum { BLOCKS = true };
    const void *keys;
    KeyPrefix Pack(const U *key) const { return PackPrefix(key); }
    int32_t Compare(const SortRecord *a, const SortRecord *b) const { return ComparePlainRecords<U>(keys, a, b); }
    void Ahead(const SortRecord *, const SortRecord *) const {}
};

template <typename U>
struct NumericOrder {
    typedef U Unit;
    enum { BLOCKS = false };
    const void *keys;
    KeyPrefix Pack(const U *key) const { return PackNumericPrefix(key); }
    int32_t Compare(const SortRecord *a, const SortRecord *b) const
    {
        return CompareNumericRecords<U>(keys, a, b);
    }
    // Numeric unit keys read the keys often enough, and their prefixes
    // tell well enough when, that fetching a key the scan is about to
    // compare pays.
    void Ahead(const SortRecord *r, const SortRecord *pivot) const
    {
        if (sizeof(U) == 2 && r->prefix.hi == pivot->prefix.hi)
            __builtin_prefetch(KeyOf<U>(keys, r));
    }
};

struct CustomOrder {
    typedef Unit16 Unit;
    enum { BLOCKS = true };
    const void *keys;
    const OrderFile *file;  // loaded with its index
    KeyPrefix Pack(const Unit16 *key) const { return PackCustomKey(file->weights, key); }
    int32_t Compare(const SortRecord *a, const SortRecord *b) const
    {
        return CompareCustomRecords(file, keys, a, b);
    }
    void Ahead(const SortRecord *, const SortRecord *) const {}
};

struct DictionaryOrder {
    typedef Unit16 Unit;
    enum { BLOCKS = true };
    const void *keys;
    DictionarySettings settings;
    KeyPrefix Pack(const Unit16 *key) const { return PackDictionaryKey(&settings, key); }
    int32_t Compare(const SortRecord *a, const SortRecord *b) const
    {
        return CompareDictionaryRecords(&settings, keys, a, b);
    }
    void Ahead(const SortRecord *, const SortRecord *) const {}
};

// Calls f with a value of the order's type above; f is a generic lambda,
// instantiated once per order. keys is the start of the key buffer, file
// the command's order file, read only by custom order and by dictionary
// order with its kanji ranked.
template <typename F>
static inline void WithKeyOrder(KeyOrder order, const void *keys, const OrderFile *file, F f)
{
    switch (order) {
    case ORDER_BYTES:
        f(PlainOrder<unsigned char>{keys});
        break;
    case ORDER_UNITS:
        f(PlainOrder<Unit16>{keys});
        break;
    case ORDER_NUMERIC_BYTES:
        f(NumericOrder<unsigned char>{keys});
        break;
    case ORDER_NUMERIC_UNITS:
        f(NumericOrder<Unit16>{keys});
        break;
    case ORDER_CUSTOM:
        f(CustomOrder{keys, file});
        break;
    default: {
        DictionarySettings s = {(order & ORDER_DICTIONARY_NUMERIC) != 0, (order & ORDER_DICTIONARY_IGNORE_CASE) != 0,
                                (uint8_t)(order >> ORDER_DICTIONARY_KANJI_SHIFT & 3), file};
        f(DictionaryOrder{keys, s});
        break;
    }
    }
}

// One record's prefix, and one comparison, for callers that do not sort
// (the tests and the benchmark); the sort inlines the order's own.
static inline KeyPrefix PackKey(const void *key, KeyOrder order, const OrderFile *file)
{
    KeyPrefix p = {0, 0};
    WithKeyOrder(order, NULL, file, [&](auto o) { p = o.Pack((const typename decltype(o)::Unit *)key); });
    return p;
}

static inline int32_t CompareRecords(const SortRecord *a, const SortRecord *b, KeyOrder order, const void *keys,
                                     const OrderFile *file)
{
    int32_t r = 0;
    WithKeyOrder(order, keys, file, [&](auto o) { r = o.Compare(a, b); });
    return r;
}

// Sorts the records, whose keys lie in the buffer at keys, by the order's
// record comparison with the module's quicksort; descending by exchanging
// the records, never by negating.
void SortRecords(SortRecord *table, size_t count, KeyOrder order, const void *keys, const OrderFile *file,
                 bool descending);

#endif
