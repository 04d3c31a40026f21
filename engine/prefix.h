// The line table as the sort holds it: each record carries the first units
// of its key packed into two 64-bit words, so that most comparisons never
// read the keys, which lie all over the key block. This file has what every
// order's prefix shares, and the plain prefix of byte and code-unit order;
// numeric_prefix.h and custom_prefix.h build on it.
//
// A unit is a byte (code page 932 keys) or a code unit (UTF-16 keys). Units
// are packed first to last from the top bits of hi, so that two prefixes
// compare as integers the way their keys compare unit by unit; slots after
// the key's end are zero, which sorts first, as the end does.
//
// Plain prefix, byte keys (16 slots):    Plain prefix, unit keys (8 slots):
//
//   word  bits    holds                    word  bits    holds
//   ----  ------  ----------------         ----  ------  ----------------
//   hi    63..56  byte 0                   hi    63..48  unit 0
//   hi    55..48  byte 1                   hi    47..32  unit 1
//   ...                                    hi    31..16  unit 2
//   hi     7..0   byte 7                   hi    15..0   unit 3
//   lo    63..0   bytes 8 to 15            lo    63..0   units 4 to 7
//
// The other orders keep 8 slots of bytes in hi (Packing below) and use lo
// for more than units.
#ifndef TALLORIX_ENGINE_PREFIX_H
#define TALLORIX_ENGINE_PREFIX_H

#include "types.h"
#include "key_compare.h"

struct KeyPrefix {
    uint64_t hi, lo;
};

// One record of the line table, 24 bytes in both builds:
//
//   offset  size  holds
//   ------  ----  ---------------------------------------------------------
//    0      16    the key's prefix
//   16       4    key: where the key starts, in units from the key buffer's
//   20       4    line: where the line starts, in units from the text's
//
// Offsets rather than pointers: the 64-bit table is a quarter smaller, and
// every byte of it is memory the command touches for the first time. The
// sort takes texts of fewer than 2^32 units (sort.cpp).
struct SortRecord {
    KeyPrefix prefix;
    uint32_t key, line;
};

// The key of record r, in the key buffer that starts at keys.
template <typename U>
static inline const U *KeyOf(const void *keys, const SortRecord *r)
{
    return (const U *)keys + r->key;
}

template <typename U>
struct Packing {
    enum {
        BITS = 8 * sizeof(U),
        HALF = 64 / BITS,  // units in each word
        WORDS = sizeof(U) == 1 ? 1 : 2,
        UNITS = WORDS * HALF,
    };
};

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
static inline int FirstDifferentUnits(KeyPrefix a, KeyPrefix b, uint32_t *unitA, uint32_t *unitB)
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
        *unitA = x << shift >> 24;
        *unitB = y << shift >> 24;
        return base + shift / 8;
    }
    int i = FirstDifference<U>(a, b);
    if (i < Packing<U>::UNITS) {
        *unitA = UnitAt<U>(a, i);
        *unitB = UnitAt<U>(b, i);
    }
    return i;
}

// ---- Plain order ------------------------------------------------------------

// Units of a plain prefix: both words, whatever the unit. Most keys that
// share 8 bytes go on to differ within 16, and so never read the keys.
template <typename U>
struct PlainPacking {
    enum { UNITS = 16 / sizeof(U) };
};

template <typename U>
static inline KeyPrefix PackPrefix(const U *key)
{
    KeyPrefix p = {0, 0};
    for (int i = 0; i < PlainPacking<U>::UNITS && key[i]; i++)
        SetUnit<U>(&p, i, key[i]);
    return p;
}

// Whether a plainly packed key ends inside its prefix: a zero last slot.
template <typename U>
static inline bool EndsInside(KeyPrefix p)
{
    return !(p.lo & ((1ull << Packing<U>::BITS) - 1));
}

// Plain order of two records whose keys lie in the buffer at keys.
// Different prefixes decide as the keys' first units do; equal ones with an
// empty last slot are the same key; otherwise the keys decide from the
// first unit past the prefix.
template <typename U>
static inline int32_t ComparePlainRecords(const void *keys, const SortRecord *a, const SortRecord *b)
{
    if (a->prefix.hi != b->prefix.hi)
        return a->prefix.hi < b->prefix.hi ? -1 : 1;
    if (a->prefix.lo != b->prefix.lo)
        return a->prefix.lo < b->prefix.lo ? -1 : 1;
    if (EndsInside<U>(a->prefix))
        return 0;
    const U *p = KeyOf<U>(keys, a) + PlainPacking<U>::UNITS;
    const U *q = KeyOf<U>(keys, b) + PlainPacking<U>::UNITS;
    if (sizeof(U) == 1)
        return PlainBytesFrom((const unsigned char *)p, (const unsigned char *)q);
    return PlainUnitsFrom((const Unit16 *)p, (const Unit16 *)q);
}

#endif
