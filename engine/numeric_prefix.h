// Numeric-aware order: its prefix and its record comparison, which falls
// back on NumericFrom (key_compare.h) where the prefixes stop telling.
//
// k is the position of the key's first digit, when a run starts among the
// positions where the prefix can hold one (bytes 0 to 7, units 0 to 5);
// otherwise k is RUNS. A key with a run at k keeps the units before the run
// and its first digit; the bits of the slots after it hold the field: the
// run's value when it is below the field's all-ones, else all ones.
// A key without such a run keeps its units as the plain prefix does.
//
// Byte keys, a run at k < 8:              Byte keys, no run (k = 8):
//
//   word  bits       holds                  word  bits    holds
//   ----  ---------  ----------------       ----  ------  ----------------
//   hi    63..56-8k  bytes 0 to k           hi    63..0   bytes 0 to 7
//   hi    55-8k..0   the field              lo    63..8   the continuation
//   lo    63..8      the continuation       lo     7..0   8
//                    if the value fits,
//   lo    63..32     else the value, or
//                    all ones from 2^32 - 1
//   lo     7..0      k
//
// The continuation is what the comparison reads next once the units are
// equal: up to 7 bytes after the run (or after byte 7 when there is no
// run), up to and including the first digit among them, zero after.
//
// Unit keys, 7 slots of 16 bits:
//
//   word  bits       holds
//   ----  ---------  ----------------------------------------------------
//   hi    63..0      slots 0 to 3 \  units 0 to k, then the field, of at
//   lo    63..16     slots 4 to 6 /  most 48 bits, its low bit bit 16 of
//                                    lo; slots of hi past 48 bits zero
//   lo    15..0      k, or 6 when there is no run in units 0 to 5
//
// Without a run, slot 6 may hold a digit that starts one.
//
// So a run's value reads from its prefix exactly, or as "at least the
// field's all-ones" (RUN_UNKNOWN), which is more than every exact value
// of a run at the same k: two values differ, or they are the same exact
// value, or both are unknown and only the keys can tell.
#ifndef TALLORIX_ENGINE_NUMERIC_PREFIX_H
#define TALLORIX_ENGINE_NUMERIC_PREFIX_H

#include "prefix.h"

template <typename U>
struct NumericPacking {
    enum {
        BITS = Packing<U>::BITS,
        SLOTS = sizeof(U) == 1 ? 8 : 7,         // slots of units and field
        RUNS = sizeof(U) == 1 ? 8 : 6,          // positions where a run may start
        FIELD_SHIFT = sizeof(U) == 1 ? 0 : 16,  // low bit of the field in its word
    };
};

// The word that holds the field's low bit.
template <typename U>
static inline uint64_t &FieldWord(KeyPrefix &p)
{
    return sizeof(U) == 1 ? p.hi : p.lo;
}

template <typename U>
static inline int RunStart(KeyPrefix p)
{
    return (int)(sizeof(U) == 1 ? p.lo & 0xFF : p.lo & 0xFFFF);
}

// Bits of the field of a run at k. A unit key's field is kept to the 48
// bits of lo above k, so that a value never spans both words.
template <typename U>
static inline int FieldWidth(int k)
{
    int width = NumericPacking<U>::BITS * (NumericPacking<U>::SLOTS - 1 - k);
    return sizeof(U) == 2 && width > 48 ? 48 : width;
}

// The field's all-ones, which stands for the values it cannot hold.
static inline uint64_t FieldFull(int width)
{
    return width ? ~0ull >> (64 - width) : 0;
}

// RUN_VALUE_LIMIT (key_compare.h) lies above every field's all-ones.
static const uint64_t RUN_UNKNOWN = ~0ull;

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
    const U *end;
    uint64_t value = ReadRunValue(key + k, &end);
    uint64_t full = FieldFull(FieldWidth<U>(k));
    if (value < full) {
        FieldWord<U>(p) |= value << N::FIELD_SHIFT;
        p.lo |= PackContinuation(end);
    } else {
        FieldWord<U>(p) |= full << N::FIELD_SHIFT;
        if (sizeof(U) == 1)
            p.lo |= (value < 0xFFFFFFFFu ? value : 0xFFFFFFFFu) << 32;
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

// Whether a run at k has its value in the field.
template <typename U>
static inline bool InField(KeyPrefix p, int k)
{
    uint64_t full = FieldFull(FieldWidth<U>(k));
    return ((FieldWord<U>(p) >> NumericPacking<U>::FIELD_SHIFT) & full) != full;
}

// The value of a run at k as far as the prefix knows it: exact, or
// RUN_UNKNOWN.
template <typename U>
static inline uint64_t RunValue(KeyPrefix p, int k)
{
    uint64_t full = FieldFull(FieldWidth<U>(k));
    uint64_t field = (FieldWord<U>(p) >> NumericPacking<U>::FIELD_SHIFT) & full;
    if (field != full)
        return field;
    if (sizeof(U) == 1 && (p.lo >> 32) != 0xFFFFFFFFu)
        return p.lo >> 32;
    return RUN_UNKNOWN;
}

// Whether the values of two runs starting at k tell them apart, and how.
template <typename U>
static inline bool RunValuesDecide(KeyPrefix a, KeyPrefix b, int k, int32_t *result)
{
    uint64_t valueA = RunValue<U>(a, k), valueB = RunValue<U>(b, k);
    if (valueA == valueB)
        return false;
    *result = valueA < valueB ? -1 : 1;
    return true;
}

// Whether two continuations (lo of byte prefixes, k in the low byte)
// decide the comparison, and how. Before their first difference they hold
// the same units and no digit, since a digit ends them.
static inline bool ContinuationDecides(uint64_t a, uint64_t b, int32_t *result)
{
    uint64_t differ = (a ^ b) & ~0xFFull;
    if (!differ) {
        // The same keys if both end inside; a digit or a full continuation
        // says nothing of what follows.
        if ((a & 0xFF00) || DigitUnits<unsigned char>(a & ~0xFFull))
            return false;
        *result = 0;
        return true;
    }
    int shift = __builtin_clzll(differ) / 8 * 8;
    uint32_t c = (uint32_t)(a << shift >> 56), d = (uint32_t)(b << shift >> 56);
    if (IsDigit(c) && IsDigit(d))
        return false;
    *result = !c ? -1 : !d ? 1 : (int32_t)(c - d);
    return true;
}

// Numeric order of two records whose keys lie in the buffer at keys: the
// sign of NumericFrom on their keys, from the prefixes as far as they tell.
// Where they stop telling, the keys are read from the start of the run
// concerned, since a digit means what its whole run means.
//
// What the branches rely on, with differAt the first slot where the
// prefixes differ and runAt the k of record a:
//   - slots before differAt hold the same units in both; so if a's run
//     starts before differAt, b's starts at the same place, and the two
//     differ only in the field (or, past the slots, in lo);
//   - if differAt <= runAt, neither key has a digit before differAt, and
//     both slots there hold units, not field bits;
//   - all slots equal means the same runAt in both.
// Inlined by force: left to itself the compiler calls it.
template <typename U>
static inline __attribute__((always_inline)) int32_t CompareNumericRecords(const void *keys, const SortRecord *a,
                                                                            const SortRecord *b)
{
    typedef NumericPacking<U> N;
    uint32_t unitA = 0, unitB = 0;
    int differAt = FirstDifferentUnits<U>(a->prefix, b->prefix, &unitA, &unitB);
    int runAt = RunStart<U>(a->prefix);
    int32_t result;
    int resumeAt;
    if (differAt < N::SLOTS && differAt <= runAt) {
        // Two units: a key's end, other units, or the first digits of two
        // runs that start here.
        if (!unitA)
            return -1;
        if (!unitB)
            return 1;
        if (!IsDigit(unitA) || !IsDigit(unitB))
            return (int32_t)(unitA - unitB);
        if (differAt < N::RUNS && RunValuesDecide<U>(a->prefix, b->prefix, differAt, &result))
            return result;
        resumeAt = differAt;
    } else if (differAt < N::SLOTS) {
        // Both runs start at runAt; the fields differ, so the values differ
        // or one is not known.
        if (RunValuesDecide<U>(a->prefix, b->prefix, runAt, &result))
            return result;
        resumeAt = runAt;
    } else if (runAt < N::RUNS) {
        // The same units and the same run: of one value in the field, or of
        // values the field does not hold.
        if (sizeof(U) == 1) {
            if (InField<U>(a->prefix, runAt)) {
                if (ContinuationDecides(a->prefix.lo, b->prefix.lo, &result))
                    return result;
            } else if (RunValuesDecide<U>(a->prefix, b->prefix, runAt, &result)) {
                return result;
            }
        }
        resumeAt = runAt;
    } else {
        // The same units and no run; unit keys may have a digit in the last
        // slot, which starts a run to be read whole.
        uint32_t last = UnitAt<U>(a->prefix, N::SLOTS - 1);
        if (!last)
            return 0;  // the same key, ending inside
        resumeAt = N::SLOTS;
        if (IsDigit(last))
            resumeAt = N::SLOTS - 1;
        else if (sizeof(U) == 1 && ContinuationDecides(a->prefix.lo, b->prefix.lo, &result))
            return result;
    }
    return NumericFrom(KeyOf<U>(keys, a) + resumeAt, KeyOf<U>(keys, b) + resumeAt);
}

#endif
