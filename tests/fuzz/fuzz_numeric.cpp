// The code-order and numeric-aware comparators on random keys.
//
// The input is read three ways: as bytes, as compact units and as
// little-endian 16-bit units; each time the first NUL ends the first key
// and the second runs from there to the next NUL or the end (compact
// bytes of 0xE0 and up standing for long digit runs and surrogates, see
// fuzz_support.h). For every ordered pair of the two keys (each against
// itself included) the sort's record comparison in plain and in numeric
// order must have the sign of the reference.
#include "engine/sort_orders.h"
#include "tests/support/keyed_records.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    return 0;
}

template <typename U>
static void SplitTwo(const std::vector<U> &all, std::vector<U> *a, std::vector<U> *b)
{
    size_t i = 0;
    for (; i < all.size() && all[i]; i++)
        a->push_back(all[i]);
    for (i++; i < all.size() && all[i]; i++)
        b->push_back(all[i]);
    a->push_back(0);
    b->push_back(0);
}

struct Orders {
    KeyOrder plain, numeric;
};

template <typename U>
static void CheckPair(const U *a, const U *b, const Orders &o)
{
    // Neither order is custom: no order file.
    KeyedRecords p = RecordsOf({a, b}, sizeof(U) == 2, o.plain, NULL);
    REQUIRE(Sign(CompareRecords(&p.records[0], &p.records[1], o.plain, p.Keys(), NULL)) == RefPlain(a, b));
    KeyedRecords n = RecordsOf({a, b}, sizeof(U) == 2, o.numeric, NULL);
    REQUIRE(Sign(CompareRecords(&n.records[0], &n.records[1], o.numeric, n.Keys(), NULL)) == RefNumeric(a, b));
}

template <typename U>
static void CheckKeys(const std::vector<U> &all, const Orders &f)
{
    std::vector<U> a, b;
    SplitTwo(all, &a, &b);
    CheckPair(a.data(), b.data(), f);
    CheckPair(b.data(), a.data(), f);
    CheckPair(a.data(), a.data(), f);
    CheckPair(b.data(), b.data(), f);
}

static const Orders kBytes = {ORDER_BYTES, ORDER_NUMERIC_BYTES};
static const Orders kUnits = {ORDER_UNITS, ORDER_NUMERIC_UNITS};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckKeys(std::vector<unsigned char>(data, data + size), kBytes);

    FuzzInput compact = {data, size};
    CheckKeys(TakeUnits(&compact, true, SIZE_MAX), kUnits);

    FuzzInput wide = {data, size};
    CheckKeys(TakeUnits(&wide, false, SIZE_MAX), kUnits);
    return 0;
}
