// The line table as the sort holds it: each entry with the first units of
// its key packed into two integers, so that most comparisons never touch
// the keys themselves.
//
// The prefix holds up to 8 bytes or 8 code units, first unit in the top
// bits of hi, zero after the key's end; plain byte keys leave lo zero,
// since a second word of bytes saves fewer reads of the keys than it costs.
// Numeric order holds a digit run's value after its first digit and the
// run's position, custom order the units' weights in its table. Every
// record comparator returns exactly what the comparator of the family it
// stands for returns on the same keys, but the custom one, which returns
// its sign.
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

// Puts unit u in slot i, which is empty.
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

// The first unit in which two prefixes differ, or UNITS, and when they
// differ the two units there. A 32-bit build works on byte keys one half
// of hi at a time, as 64-bit shifts and counts cost it several steps.
template <typename U, bool HALVES = sizeof(void *) == 4>
static inline int FirstDifferentUnits(KeyPrefix a, KeyPrefix b, uint32_t *c, uint32_t *d)
{
    if (sizeof(U) == 1 && HALVES) {
        uint32_t x = (uint32_t)(a.hi >> 32), y = (uint32_t)(b.hi >> 32);
        int base = 0;
        if (x == y) {
            x = (uint32_t)a.hi;
            y = (uint32_t)b.hi;
            if (x == y)
                return Packing<U>::UNITS;
            base = 4;
        }
        int shift = __builtin_clz(x ^ y) & ~7;
        *c = x << shift >> 24;
        *d = y << shift >> 24;
        return base + shift / 8;
    }
    int i = FirstDifference<U>(a, b);
    if (i < Packing<U>::UNITS) {
        *c = UnitAt<U>(a, i);
        *d = UnitAt<U>(b, i);
    }
    return i;
}

// Whether a plainly packed key ends inside its prefix: a zero last slot.
template <typename U>
static inline bool EndsInside(KeyPrefix p)
{
    return !(LastWord<U>(p) & ((1ull << Packing<U>::BITS) - 1));
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

// Numeric prefix. Byte keys have the 8 units of hi, unit keys the first 7
// of their 8; the slot left over (the low byte of lo, the last unit of lo)
// holds k, the position of the first digit, or RUNS if there is none among
// the positions where a run may start: all 8 for bytes, the first 6 for
// units. So the comparison need not look for it. A key with a run at k
// keeps the units before the run and its first digit, then, in the
// remaining bits of its units, the run's value, wrapped as the comparison
// reads it; in fewer than 32 bits, a value that does not fit is stored as
// all ones. Any other key keeps its units as plain order does.
//
// Byte keys use the upper 7 bytes of lo, which their units leave free. A
// run's value that does not fit goes to the upper 4, whole. Otherwise they
// hold the continuation: what the comparison reads next when the units are
// equal, the bytes after the first run, or those after the units when they
// hold no run; up to and including the first digit among them, zero after.
// Unit keys whose value does not fit leave it "not known".
template <typename U>
struct NumericPacking {
    enum {
        BITS = Packing<U>::BITS,
        SLOTS = sizeof(U) == 1 ? 8 : 7,
        RUNS = sizeof(U) == 1 ? 8 : 6,
        FIELD_SHIFT = sizeof(U) == 1 ? 0 : 16,  // where the units end in their last word
    };
};

template <typename U>
static inline uint64_t &UnitsEnd(KeyPrefix &p)
{
    return sizeof(U) == 1 ? p.hi : p.lo;
}

template <typename U>
static inline int RunStart(KeyPrefix p)
{
    return (int)(sizeof(U) == 1 ? p.lo & 0xFF : p.lo & 0xFFFF);
}

static inline uint64_t PackContinuation(const unsigned char *s)
{
    uint64_t p = 0;
    for (int j = 0; j < 7 && s[j]; j++) {
        p |= (uint64_t)s[j] << (56 - 8 * j);
        if (IsDigit(s[j]))
            break;
    }
    return p;
}

static inline uint64_t PackContinuation(const Unit16 *)
{
    return 0;
}

template <typename U>
static inline KeyPrefix PackNumericPrefix(const U *key)
{
    typedef NumericPacking<U> N;
    KeyPrefix p = {0, 0};
    int k = 0;
    while (k < N::RUNS && key[k] && !IsDigit(key[k]))
        k++;
    if (k == N::RUNS || !key[k]) {
        for (int i = 0; i < N::SLOTS && key[i]; i++)
            SetUnit<U>(&p, i, key[i]);
        if (sizeof(U) == 1 && k == N::RUNS)
            p.lo |= PackContinuation(key + N::SLOTS);
        p.lo |= N::RUNS;
        return p;
    }
    for (int i = 0; i <= k; i++)
        SetUnit<U>(&p, i, key[i]);
    int width = N::BITS * (N::SLOTS - 1 - k);
    uint32_t value = 0;
    const U *end = key + k;
    for (; IsDigit(*end); end++)
        value = value * 10 + ((uint32_t)*end - '0');
    if (width >= 32 || value < (1u << width) - 1) {
        UnitsEnd<U>(p) |= (uint64_t)value << N::FIELD_SHIFT;
        p.lo |= PackContinuation(end);
    } else {
        UnitsEnd<U>(p) |= (uint64_t)((1u << width) - 1) << N::FIELD_SHIFT;
        if (sizeof(U) == 1)
            p.lo |= (uint64_t)value << 32;
    }
    p.lo |= (uint64_t)k;
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

// Whether a run at k has its value in the field of its units.
template <typename U>
static inline bool InField(KeyPrefix p, int k)
{
    typedef NumericPacking<U> N;
    int width = N::BITS * (N::SLOTS - 1 - k);
    if (width >= 32)
        return true;
    uint64_t mask = (1ull << width) - 1;
    return ((UnitsEnd<U>(p) >> N::FIELD_SHIFT) & mask) != mask;
}

// The value of a run at k, when the prefix knows it.
template <typename U>
static inline bool RunValue(KeyPrefix p, int k, uint32_t *v)
{
    if (InField<U>(p, k)) {
        int width = NumericPacking<U>::BITS * (NumericPacking<U>::SLOTS - 1 - k);
        uint64_t field = UnitsEnd<U>(p) >> NumericPacking<U>::FIELD_SHIFT;
        *v = (uint32_t)(width >= 32 ? field : field & ((1ull << (width & 31)) - 1));
        return true;
    }
    *v = (uint32_t)(p.lo >> 32);
    return sizeof(U) == 1;
}

// The values of two runs starting at k, when both prefixes know them.
template <typename U>
static inline bool RunValues(KeyPrefix a, KeyPrefix b, int k, uint32_t *va, uint32_t *vb)
{
    return RunValue<U>(a, k, va) && RunValue<U>(b, k, vb);
}

// Whether two continuations decide the comparison, and how. Before their
// first difference they hold the same units and no digit, since a digit
// ends them.
static inline bool ContinuationDecides(uint64_t a, uint64_t b, int32_t *result)
{
    uint64_t x = (a ^ b) & ~0xFFull;
    if (!x) {
        // The same keys if both end inside; a digit or a full continuation
        // says nothing of what follows.
        if ((a & 0xFF00) || DigitUnits<unsigned char>(a & ~0xFFull))
            return false;
        *result = 0;
        return true;
    }
    int shift = __builtin_clzll(x) / 8 * 8;
    uint32_t c = (uint32_t)(a << shift >> 56), d = (uint32_t)(b << shift >> 56);
    if (IsDigit(c) && IsDigit(d))
        return false;
    *result = !c ? -1 : !d ? 1 : (int32_t)(c - d);
    return true;
}

// Numeric order, from the prefixes as far as they tell: units before any
// digit run, the values of runs that start at the same place, and for byte
// keys the continuations. Where they stop telling, the keys are compared
// from the start of the run concerned, since a digit means what its whole
// run means. Inlined by force: left to itself the compiler calls it.
template <typename U>
static inline __attribute__((always_inline)) int32_t CompareNumericRecords(const SortRecord *a, const SortRecord *b)
{
    typedef NumericPacking<U> N;
    uint32_t c = 0, d = 0;
    int i = FirstDifferentUnits<U>(a->prefix, b->prefix, &c, &d);  // a unit, or past the slots
    int k = RunStart<U>(a->prefix);
    uint32_t va, vb;
    int32_t r;
    int from;
    if (i < N::SLOTS && i <= k) {
        // No digit before i: units, or the start of both runs.
        if (!c)
            return -1;
        if (!d)
            return 1;
        if (!IsDigit(c) || !IsDigit(d))
            return (int32_t)(c - d);
        if (i < N::RUNS && RunValues<U>(a->prefix, b->prefix, i, &va, &vb) && va != vb)
            return (int32_t)(va - vb);
        from = i;
    } else if (i < N::SLOTS) {
        // Both runs start at k; their values differ, or are not known.
        if (RunValues<U>(a->prefix, b->prefix, k, &va, &vb))
            return (int32_t)(va - vb);
        from = k;
    } else if (k < N::RUNS) {
        // The same units, and a run at k of the same value in the field or
        // of values that the field does not hold.
        if (sizeof(U) == 1) {
            if (InField<U>(a->prefix, k)) {
                if (ContinuationDecides(a->prefix.lo, b->prefix.lo, &r))
                    return r;
            } else if (RunValues<U>(a->prefix, b->prefix, k, &va, &vb) && va != vb) {
                return (int32_t)(va - vb);
            }
        }
        from = k;
    } else {
        // The same units and no run, but for unit keys a digit in the last.
        uint32_t last = UnitAt<U>(a->prefix, N::SLOTS - 1);
        if (!last)
            return 0;  // the same key, ending inside
        from = N::SLOTS;
        if (IsDigit(last))
            from = N::SLOTS - 1;
        else if (sizeof(U) == 1 && ContinuationDecides(a->prefix.lo, b->prefix.lo, &r))
            return r;
    }
    return NumericFrom((const U *)a->entry.key + from, (const U *)b->entry.key + from);
}

// Custom order, defined with the order table: the prefix of the units'
// weights in the loaded table, each single unit's weight, and the order of
// keys from a position both reach with everything before it equal.
KeyPrefix PackCustomKey(const Unit16 *key);
enum { CUSTOM_STOP = 0xFFFF };
extern Unit16 *orderWeights;
int32_t CustomFrom(const Unit16 *p, const Unit16 *q);

// The sign of the custom order, not its value, since a weight is no rank.
// Only a high surrogate, ranked with the unit after it, needs the table.
// Weights stay below CUSTOM_STOP, the slots from a high surrogate on.
static inline int32_t CompareCustomRecords(const SortRecord *a, const SortRecord *b)
{
    enum { UNITS = Packing<Unit16>::UNITS };
    int from;
    if ((a->prefix.lo & 0xFFFF) != CUSTOM_STOP && (b->prefix.lo & 0xFFFF) != CUSTOM_STOP) {
        // No high surrogate in either prefix, since its slots reach the
        // last: weights compare as plain order compares units.
        if (a->prefix.hi != b->prefix.hi)
            return a->prefix.hi < b->prefix.hi ? -1 : 1;
        if (a->prefix.lo != b->prefix.lo)
            return a->prefix.lo < b->prefix.lo ? -1 : 1;
        if (!(a->prefix.lo & 0xFFFF))
            return 0;  // the same key, ending inside
        from = UNITS;
    } else if ((from = FirstDifference<Unit16>(a->prefix, b->prefix)) < UNITS) {
        uint32_t c = UnitAt<Unit16>(a->prefix, from), d = UnitAt<Unit16>(b->prefix, from);
        if (c != CUSTOM_STOP && d != CUSTOM_STOP)
            return c < d ? -1 : 1;
    } else {
        uint32_t last = UnitAt<Unit16>(a->prefix, UNITS - 1);
        if (!last)
            return 0;  // the same key, ending inside
        if (last == CUSTOM_STOP)
            for (from = 0; UnitAt<Unit16>(a->prefix, from) != CUSTOM_STOP;)
                from++;
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

// Whether the order is a total preorder over the keys of these records, as
// the quicksort's exact finish needs (total_order.cpp has the proofs).
bool IsTotalPreorderOver(const SortRecord *table, size_t count, KeyOrder order);

// Sorts the records with the record comparator of the order, descending
// by exchanging the records.
void SortRecords(SortRecord *table, size_t count, KeyOrder order, bool descending);

// The order the options choose, as the family's comparator table does.
KeyOrder ChooseKeyOrder(SortOptions options);

#endif
