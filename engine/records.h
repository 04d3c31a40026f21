// The line table as the sort holds it: each entry with the first units of
// its key packed into two integers, so that most comparisons never touch
// the keys themselves.
//
// The prefix holds up to 8 bytes or 8 code units, first unit in the top
// bits of hi, zero after the key's end; bytes leave lo zero, since a
// second word of bytes saves too few reads of the keys to pay for itself.
// Numeric order may hold a digit
// run's value after its first digit, and custom order the units' weights
// in its table, up to a high surrogate. Every record comparator returns
// exactly what the comparator of the family it stands for returns on the
// same keys, but the custom one, which returns its sign.
#ifndef TALLORIX_ENGINE_RECORDS_H
#define TALLORIX_ENGINE_RECORDS_H

#include <string.h>

#include "types.h"

struct KeyPrefix {
    uint64_t hi, lo;
};

struct SortRecord {
    KeyPrefix prefix;
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
    enum {
        BITS = 8 * sizeof(U),
        HALF = 64 / BITS,  // units in each word
        WORDS = sizeof(U) == 1 ? 1 : 2,
        UNITS = WORDS * HALF,
    };
};

static inline bool IsDigit(uint32_t c)
{
    return c - '0' < 10;
}

// Puts unit u in slot i of an empty slot.
template <typename U>
static inline void SetUnit(KeyPrefix *p, int i, uint32_t u)
{
    enum { BITS = Packing<U>::BITS, HALF = Packing<U>::HALF };
    if (i < HALF)
        p->hi |= (uint64_t)u << (64 - BITS * (i + 1));
    else
        p->lo |= (uint64_t)u << (64 - BITS * (i + 1 - HALF));
}

template <typename U>
static inline uint32_t UnitAt(KeyPrefix p, int i)
{
    enum { BITS = Packing<U>::BITS, HALF = Packing<U>::HALF };
    uint64_t w = i < HALF ? p.hi : p.lo;
    return (uint32_t)(w >> (64 - BITS * (i % HALF + 1))) & ((1u << BITS) - 1);
}

template <typename U>
static inline KeyPrefix PackPrefix(const U *key)
{
    KeyPrefix p = {0, 0};
    for (int i = 0; i < Packing<U>::UNITS && key[i]; i++)
        SetUnit<U>(&p, i, key[i]);
    return p;
}

KeyPrefix PackKey(const void *key, KeyOrder order);

static inline bool PrefixLess(KeyPrefix a, KeyPrefix b)
{
    return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo;
}

// The word that holds a prefix's last units.
template <typename U>
static inline uint64_t LastWord(KeyPrefix p)
{
    return Packing<U>::WORDS == 2 ? p.lo : p.hi;
}

// Position of the first unit in which two prefixes differ, or UNITS.
template <typename U>
static inline int FirstDifference(KeyPrefix a, KeyPrefix b)
{
    enum { BITS = Packing<U>::BITS, HALF = Packing<U>::HALF };
    uint64_t x = a.hi ^ b.hi;
    if (x)
        return __builtin_clzll(x) / BITS;
    if (Packing<U>::WORDS == 1)
        return Packing<U>::UNITS;
    x = a.lo ^ b.lo;
    return x ? HALF + __builtin_clzll(x) / BITS : Packing<U>::UNITS;
}

// Whether a plainly packed key ends inside its prefix: a zero last slot.
template <typename U>
static inline bool EndsInside(KeyPrefix p)
{
    return !(LastWord<U>(p) & ((1ull << Packing<U>::BITS) - 1));
}

// Units before the trailing zero slots of a prefix.
template <typename U>
static inline int LeadingUnits(KeyPrefix p)
{
    enum { BITS = Packing<U>::BITS, HALF = Packing<U>::HALF };
    if (p.lo)
        return 2 * HALF - __builtin_ctzll(p.lo) / BITS;
    return p.hi ? HALF - __builtin_ctzll(p.hi) / BITS : 0;
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
    if (a->prefix.hi != b->prefix.hi)
        return a->prefix.hi < b->prefix.hi ? -1 : 1;
    if (Packing<U>::WORDS == 2 && a->prefix.lo != b->prefix.lo)
        return a->prefix.lo < b->prefix.lo ? -1 : 1;
    if (EndsInside<U>(a->prefix))
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
static inline KeyPrefix PackNumericPrefix(const U *key)
{
    enum { UNITS = Packing<U>::UNITS, BITS = Packing<U>::BITS };
    int k = 0;
    while (k < UNITS - 1 && key[k] && !IsDigit(key[k]))
        k++;
    if (k == UNITS - 1 || !key[k])
        return PackPrefix(key);
    KeyPrefix p = {0, 0};
    for (int i = 0; i <= k; i++)
        SetUnit<U>(&p, i, key[i]);
    int width = 64 * Packing<U>::WORDS - BITS * (k + 1);
    uint32_t value = 0;
    for (const U *q = key + k; IsDigit(*q); q++)
        value = value * 10 + ((uint32_t)*q - '0');
    uint64_t field = value;
    if (width < 32 && value >= (1u << width) - 1)
        field = (1u << width) - 1;
    if (Packing<U>::WORDS == 2)
        p.lo |= field;
    else
        p.hi |= field;
    return p;
}

// The top bit of each unit of a word that is a digit. A unit is a digit
// when its top bit is clear and its lower bits lie in 0x30 to 0x39; all
// units are tested at once, by sums that never carry into the next.
template <typename U>
static inline uint64_t DigitUnits(uint64_t w)
{
    enum { BITS = Packing<U>::BITS };
    const uint64_t top = ~0ull / ((1ull << BITS) - 1) << (BITS - 1);  // each unit's top bit
    const uint64_t ones = ~0ull / ((1ull << BITS) - 1);               // 1 in each unit
    uint64_t low = w & ~top;
    uint64_t atLeast30 = low + ones * ((1ull << (BITS - 1)) - 0x30);
    uint64_t below3A = ~(low + ones * ((1ull << (BITS - 1)) - 0x3A));
    return atLeast30 & below3A & ~w & top;
}

// The first of a prefix's units before position limit that is a digit, or
// limit.
template <typename U>
static inline int FirstDigitUnit(KeyPrefix p, int limit)
{
    enum { BITS = Packing<U>::BITS, HALF = Packing<U>::HALF };
    int k;
    uint64_t digits = DigitUnits<U>(p.hi);
    if (digits) {
        k = __builtin_clzll(digits) / BITS;
    } else if (limit <= HALF) {
        return limit;
    } else {
        digits = DigitUnits<U>(p.lo);
        k = digits ? HALF + __builtin_clzll(digits) / BITS : Packing<U>::UNITS;
    }
    return k < limit ? k : limit;
}

// The values of two runs starting at k, when both prefixes know them. The
// value field lies in the last word: a field of 32 bits or more holds the
// value in its low 32.
template <typename U>
static inline bool RunValues(KeyPrefix a, KeyPrefix b, int k, uint32_t *va, uint32_t *vb)
{
    int width = 64 * Packing<U>::WORDS - Packing<U>::BITS * (k + 1);
    uint64_t x = LastWord<U>(a), y = LastWord<U>(b);
    if (width >= 32) {
        *va = (uint32_t)x;
        *vb = (uint32_t)y;
        return true;
    }
    uint64_t mask = (1ull << width) - 1;
    x &= mask;
    y &= mask;
    if (x == mask || y == mask)
        return false;
    *va = (uint32_t)x;
    *vb = (uint32_t)y;
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
    int i = FirstDifference<U>(a->prefix, b->prefix);
    int k = FirstDigitUnit<U>(a->prefix, i < UNITS - 1 ? i : UNITS - 1);
    uint32_t va, vb;
    int from;
    if (k < i && k < UNITS - 1) {
        // Both runs start at k, the same units before them.
        if (RunValues<U>(a->prefix, b->prefix, k, &va, &vb) && va != vb)
            return (int32_t)(va - vb);
        from = k;
    } else if (i < UNITS) {
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
        if (EndsInside<U>(a->prefix))
            return 0;  // the same key, ending inside the prefix
        from = UNITS;
        if (IsDigit(UnitAt<U>(a->prefix, UNITS - 1)))
            from--;
    }
    return NumericFrom((const U *)a->entry.key + from, (const U *)b->entry.key + from);
}

// Custom order, defined with the order table: the prefix of the units'
// weights in the loaded table, each single unit's weight, and the order of
// keys from a position both reach with everything before it equal.
KeyPrefix PackCustomKey(const Unit16 *key);
extern Unit16 *orderWeights;
int32_t CustomFrom(const Unit16 *p, const Unit16 *q);

// The sign of the custom order, not its value, since a weight is no rank.
// Only a high surrogate, ranked with the unit after it, needs the table.
static inline int32_t CompareCustomRecords(const SortRecord *a, const SortRecord *b)
{
    enum { UNITS = Packing<Unit16>::UNITS };
    int from = FirstDifference<Unit16>(a->prefix, b->prefix);
    if (from < UNITS) {
        // A zero slot is the key's end or a high surrogate.
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
