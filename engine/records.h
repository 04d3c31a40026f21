// The line table as the sort holds it: each entry with the first units of
// its key packed into one integer, so that most comparisons never touch the
// keys themselves.
//
// The prefix holds up to 8 bytes or 4 code units, first unit in the top
// bits, zero after the key's end; numeric order may hold a digit run's
// value after its first digit, and custom order the units' weights in its
// table, up to a high surrogate. Every record comparator returns exactly what the
// comparator of the family it stands for returns on the same keys, but the
// custom one, which returns its sign.
#ifndef TALLORIX_ENGINE_RECORDS_H
#define TALLORIX_ENGINE_RECORDS_H

#include <string.h>

#include "types.h"

struct SortRecord {
    uint64_t prefix;
    LineEntry entry;
};

enum KeyOrder {
    ORDER_BYTES,
    ORDER_UNITS,
    ORDER_NUMERIC_BYTES,
    ORDER_NUMERIC_UNITS,
    ORDER_CUSTOM,
};

template <typename U>
struct Packing {
    enum { BITS = 8 * sizeof(U), UNITS = 64 / BITS };
};

static inline bool IsDigit(uint32_t c)
{
    return c - '0' < 10;
}

template <typename U>
static inline uint64_t PackPrefix(const U *key)
{
    uint64_t p = 0;
    int i = 0;
    for (; i < Packing<U>::UNITS && key[i]; i++)
        p = p << Packing<U>::BITS | key[i];
    return i ? p << (Packing<U>::BITS * (Packing<U>::UNITS - i)) : 0;
}

uint64_t PackKey(const void *key, KeyOrder order);

template <typename U>
static inline uint32_t UnitAt(uint64_t prefix, int i)
{
    return (uint32_t)(prefix >> (64 - Packing<U>::BITS * (i + 1))) & ((1u << Packing<U>::BITS) - 1);
}

// Position of the first unit in which two different prefixes differ.
template <typename U>
static inline int FirstDifference(uint64_t x)
{
    return __builtin_clzll(x) / Packing<U>::BITS;
}

// Units before the first zero unit of a prefix.
template <typename U>
static inline int LeadingUnits(uint64_t p)
{
    return p ? Packing<U>::UNITS - __builtin_ctzll(p) / Packing<U>::BITS : 0;
}

// The family's orders on whole keys, from a position both keys reach with
// everything before it equal.
static inline int32_t PlainBytesFrom(const unsigned char *p, const unsigned char *q)
{
    // strcmp compares as unsigned char, which is exactly byte order.
    int r = strcmp((const char *)p, (const char *)q);
    return (r > 0) - (r < 0);
}

static inline int32_t PlainUnitsFrom(const Unit16 *p, const Unit16 *q)
{
    while (*p == *q && *p) {
        p++;
        q++;
    }
    return (*p > *q) - (*p < *q);
}

template <typename U>
static inline int32_t NumericFrom(const U *p, const U *q)
{
    for (;;) {
        uint32_t c = *p, d = *q;
        if (c == 0)
            return d != 0 ? -1 : 0;
        if (d == 0)
            return 1;
        if (IsDigit(c) && IsDigit(d)) {
            uint32_t x = 0, y = 0;
            for (; IsDigit(*p); p++)
                x = x * 10 + ((uint32_t)*p - '0');
            for (; IsDigit(*q); q++)
                y = y * 10 + ((uint32_t)*q - '0');
            if (x != y)
                return (int32_t)(x - y);
            continue;
        }
        if (c != d)
            return (int32_t)(c - d);
        p++;
        q++;
    }
}

// Plain order: prefixes compare as the keys' first units do.
template <typename U>
static inline int32_t ComparePlainRecords(const SortRecord *a, const SortRecord *b)
{
    if (a->prefix != b->prefix)
        return a->prefix < b->prefix ? -1 : 1;
    if (LeadingUnits<U>(a->prefix) < Packing<U>::UNITS)
        return 0;  // both keys end inside the prefix
    const U *p = (const U *)a->entry.key + Packing<U>::UNITS;
    const U *q = (const U *)b->entry.key + Packing<U>::UNITS;
    if (sizeof(U) == 1)
        return PlainBytesFrom((const unsigned char *)p, (const unsigned char *)q);
    return PlainUnitsFrom((const Unit16 *)p, (const Unit16 *)q);
}

// Numeric prefix. A key whose first digit run starts at a position k
// below the prefix's last unit keeps the units before the run and the
// run's first digit, then, in the prefix's remaining low bits, the run's
// value, wrapped as the comparison reads it; in fewer than 32 bits, a value
// that does not fit is stored as all ones, "not known". Any other key is
// packed as in plain order. The first digit among a prefix's units but the
// last is therefore k, and tells the two kinds apart.
template <typename U>
static inline uint64_t PackNumericPrefix(const U *key)
{
    enum { UNITS = Packing<U>::UNITS, BITS = Packing<U>::BITS };
    uint64_t p = 0;
    int k = 0;
    for (; k < UNITS - 1 && key[k] && !IsDigit(key[k]); k++)
        p = p << BITS | key[k];
    if (k == UNITS - 1 || !key[k])
        return PackPrefix(key);
    p = p << BITS | key[k];
    int width = 64 - BITS * (k + 1);
    uint32_t value = 0;
    for (const U *q = key + k; IsDigit(*q); q++)
        value = value * 10 + ((uint32_t)*q - '0');
    uint64_t field = value;
    if (width < 32 && value >= (1u << width) - 1)
        field = (1u << width) - 1;
    return p << width | field;
}

// The first of a prefix's units before position limit that is a digit, or
// limit. All units are tested at once: a unit is a digit when its top bit
// is clear and its lower bits lie in 0x30 to 0x39, sums that never carry
// into the next unit.
template <typename U>
static inline int FirstDigitUnit(uint64_t prefix, int limit)
{
    enum { BITS = Packing<U>::BITS };
    const uint64_t top = ~0ull / ((1ull << BITS) - 1) << (BITS - 1);  // each unit's top bit
    const uint64_t ones = ~0ull / ((1ull << BITS) - 1);               // 1 in each unit
    uint64_t low = prefix & ~top;
    uint64_t atLeast30 = low + ones * ((1ull << (BITS - 1)) - 0x30);
    uint64_t below3A = ~(low + ones * ((1ull << (BITS - 1)) - 0x3A));
    uint64_t digits = atLeast30 & below3A & ~prefix & top;
    int k = digits ? __builtin_clzll(digits) / BITS : Packing<U>::UNITS;
    return k < limit ? k : limit;
}

// The values of two runs starting at k, when both prefixes know them.
template <typename U>
static inline bool RunValues(uint64_t a, uint64_t b, int k, uint32_t *va, uint32_t *vb)
{
    int width = 64 - Packing<U>::BITS * (k + 1);
    uint64_t mask = (1ull << width) - 1;
    a &= mask;
    b &= mask;
    if (width < 32 && (a == mask || b == mask))
        return false;
    *va = (uint32_t)a;
    *vb = (uint32_t)b;
    return true;
}

// Numeric order, from the prefixes as far as they tell: units before any
// digit run, and the values of runs that start at the same place. Where
// they stop telling, the keys are compared from the start of the run
// concerned, since a digit means what its whole run means.
template <typename U>
static inline int32_t CompareNumericRecords(const SortRecord *a, const SortRecord *b)
{
    enum { UNITS = Packing<U>::UNITS };
    uint64_t x = a->prefix ^ b->prefix;
    int i = x ? FirstDifference<U>(x) : UNITS;
    int k = FirstDigitUnit<U>(a->prefix, i < UNITS - 1 ? i : UNITS - 1);
    uint32_t va, vb;
    int from;
    if (k < i && k < UNITS - 1) {
        // Both runs start at k, the same units before them.
        if (RunValues<U>(a->prefix, b->prefix, k, &va, &vb) && va != vb)
            return (int32_t)(va - vb);
        from = k;
    } else if (x) {
        // No digit before i: units, or the start of both runs.
        uint32_t c = UnitAt<U>(a->prefix, i), d = UnitAt<U>(b->prefix, i);
        if (!c)
            return -1;
        if (!d)
            return 1;
        if (!IsDigit(c) || !IsDigit(d))
            return (int32_t)(c - d);
        if (i < UNITS - 1 && RunValues<U>(a->prefix, b->prefix, i, &va, &vb) && va != vb)
            return (int32_t)(va - vb);
        from = i;
    } else {
        // The same plain prefix, a digit in its last unit at most.
        from = LeadingUnits<U>(a->prefix);
        if (from < UNITS)
            return 0;  // the same key, ending inside the prefix
        if (IsDigit(UnitAt<U>(a->prefix, UNITS - 1)))
            from--;
    }
    return NumericFrom((const U *)a->entry.key + from, (const U *)b->entry.key + from);
}

// Custom order, defined with the order table: the prefix of the units'
// weights in the loaded table, each single unit's weight, and the order of
// keys from a position both reach with everything before it equal.
uint64_t PackCustomKey(const Unit16 *key);
extern Unit16 *orderWeights;
int32_t CustomFrom(const Unit16 *p, const Unit16 *q);

// The sign of the custom order, not its value, since a weight is no rank.
// Only a high surrogate, ranked with the unit after it, needs the table.
static inline int32_t CompareCustomRecords(const SortRecord *a, const SortRecord *b)
{
    uint64_t x = a->prefix ^ b->prefix;
    int from;
    if (x) {
        // A zero slot is the key's end or a high surrogate.
        from = FirstDifference<Unit16>(x);
        uint32_t c = UnitAt<Unit16>(a->prefix, from), d = UnitAt<Unit16>(b->prefix, from);
        if (c && d)
            return c < d ? -1 : 1;
    } else {
        from = LeadingUnits<Unit16>(a->prefix);
    }
    const Unit16 *p = (const Unit16 *)a->entry.key + from, *q = (const Unit16 *)b->entry.key + from;
    while (*p == *q && *p) {
        p++;
        q++;
    }
    uint32_t c = *p, d = *q;
    if (!c || !d)
        return (c > d) - (c < d);
    if ((c & 0xFC00) == 0xD800 || (d & 0xFC00) == 0xD800)
        return CustomFrom(p, q);
    return orderWeights[c] < orderWeights[d] ? -1 : 1;
}

// Sorts the records with the record comparator of the order, descending
// by exchanging the records.
void SortRecords(SortRecord *table, size_t count, KeyOrder order, bool descending);

// The order the options choose, as the family's comparator table does.
KeyOrder ChooseKeyOrder(SortOptions options);

#endif
