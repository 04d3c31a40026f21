// The code-order and numeric-aware comparators on random keys.
//
// The input is read three ways: as bytes, as compact units and as
// little-endian 16-bit units; each time the first NUL ends the first key
// and the second runs from there to the next NUL or the end. For every
// ordered pair of the two keys (each against itself included) the numeric
// comparators must return exactly the reference value, the plain ones
// exactly -1, 0 or +1 as the reference, each descending twin the value of
// its comparator with the records exchanged, and the record comparators of
// the sort the value of the comparator they stand for.
#include "engine/compare.h"
#include "engine/records.h"
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

struct Family {
    Comparator plain, plainDescending, numeric, numericDescending;
    KeyOrder plainOrder, numericOrder;
};

template <typename U>
static void CheckPair(const U *a, const U *b, const Family &f)
{
    LineEntry ea = {a, NULL}, eb = {b, NULL};
    int32_t plain = RefPlain(a, b), numeric = RefNumeric(a, b);

    REQUIRE(f.plain(&ea, &eb) == plain);
    REQUIRE(f.plainDescending(&eb, &ea) == plain);
    REQUIRE(f.numeric(&ea, &eb) == numeric);
    REQUIRE(f.numericDescending(&eb, &ea) == numeric);

    SortRecord pa = {PackKey(a, f.plainOrder), ea}, pb = {PackKey(b, f.plainOrder), eb};
    REQUIRE(ComparePlainRecords<U>(&pa, &pb) == plain);
    SortRecord na = {PackKey(a, f.numericOrder), ea}, nb = {PackKey(b, f.numericOrder), eb};
    REQUIRE(CompareNumericRecords<U>(&na, &nb) == numeric);
}

template <typename U>
static void CheckKeys(const std::vector<U> &all, const Family &f)
{
    std::vector<U> a, b;
    SplitTwo(all, &a, &b);
    CheckPair(a.data(), b.data(), f);
    CheckPair(b.data(), a.data(), f);
    CheckPair(a.data(), a.data(), f);
    CheckPair(b.data(), b.data(), f);
}

static const Family kBytes = {CompareBytes,        CompareBytesDescending, CompareNumericBytes,
                              CompareNumericBytesDescending, ORDER_BYTES, ORDER_NUMERIC_BYTES};
static const Family kUnits = {CompareUnits,        CompareUnitsDescending, CompareNumericUnits,
                              CompareNumericUnitsDescending, ORDER_UNITS, ORDER_NUMERIC_UNITS};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckKeys(std::vector<unsigned char>(data, data + size), kBytes);

    FuzzInput compact = {data, size};
    CheckKeys(TakeUnits(&compact, true, SIZE_MAX), kUnits);

    FuzzInput wide = {data, size};
    CheckKeys(TakeUnits(&wide, false, SIZE_MAX), kUnits);
    return 0;
}
