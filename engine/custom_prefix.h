// Custom order's prefix and record comparison, over the weights that the
// command's order file gives each single unit (order_file.h).
//
// Custom prefix, unit keys, 8 slots of 16 bits:
//
//   word  bits    holds
//   ----  ------  ---------------------------------------------------------
//   hi    63..0   slots 0 to 3 \  the weight of each unit, up to the key's
//   lo    63..0   slots 4 to 7 /  end (zero after it) or a high surrogate
//                                 (CUSTOM_STOP from there on)
//
// Weights place the single units as the custom order places them, so two
// prefixes without CUSTOM_STOP compare as integers the way their keys
// compare. A high surrogate is not weighed, since it may open a pair, and
// a low one after it may close that pair: from the first high surrogate
// on, the slots send the comparison to the keys.
#ifndef TALLORIX_ENGINE_CUSTOM_PREFIX_H
#define TALLORIX_ENGINE_CUSTOM_PREFIX_H

#include "order_file.h"
#include "prefix.h"

enum { CUSTOM_STOP = 0xFFFF };

static inline KeyPrefix PackCustomKey(const Unit16 *weights, const Unit16 *key)
{
    enum { UNITS = Packing<Unit16>::UNITS };
    KeyPrefix p = {0, 0};
    int i = 0;
    for (; i < UNITS && key[i] && !IsHighSurrogate(key[i]); i++)
        SetUnit<Unit16>(&p, i, weights[key[i]]);
    if (i < UNITS && key[i])
        for (; i < UNITS; i++)
            SetUnit<Unit16>(&p, i, CUSTOM_STOP);
    return p;
}

// The sign of CustomFrom on the keys of two records, in the buffer at
// keys.
//
// What the branches rely on: weights lie between 1 and CUSTOM_STOP - 1; a
// prefix whose last slot is not CUSTOM_STOP holds no high surrogate; equal
// slots hold equal units, since distinct units have distinct weights; and
// a slot before the first CUSTOM_STOP holds no high surrogate, so where the
// prefixes send the comparison to the keys no unit before holds one either.
static inline int32_t CompareCustomRecords(const OrderFile *f, const void *keys, const SortRecord *a,
                                           const SortRecord *b)
{
    enum { UNITS = Packing<Unit16>::UNITS };
    int resumeAt;
    if ((a->prefix.lo & 0xFFFF) != CUSTOM_STOP && (b->prefix.lo & 0xFFFF) != CUSTOM_STOP) {
        // Weights only: they compare as plain order compares units.
        if (a->prefix.hi != b->prefix.hi)
            return a->prefix.hi < b->prefix.hi ? -1 : 1;
        if (a->prefix.lo != b->prefix.lo)
            return a->prefix.lo < b->prefix.lo ? -1 : 1;
        if (!(a->prefix.lo & 0xFFFF))
            return 0;  // the same key, ending inside
        resumeAt = UNITS;
    } else if ((resumeAt = FirstDifference<Unit16>(a->prefix, b->prefix)) < UNITS) {
        uint32_t weightA = UnitAt<Unit16>(a->prefix, resumeAt), weightB = UnitAt<Unit16>(b->prefix, resumeAt);
        if (weightA != CUSTOM_STOP && weightB != CUSTOM_STOP)
            return weightA < weightB ? -1 : 1;
    } else {
        uint32_t last = UnitAt<Unit16>(a->prefix, UNITS - 1);
        if (!last)
            return 0;  // the same key, ending inside
        if (last == CUSTOM_STOP)
            for (resumeAt = 0; UnitAt<Unit16>(a->prefix, resumeAt) != CUSTOM_STOP;)
                resumeAt++;
    }
    const Unit16 *keyA = KeyOf<Unit16>(keys, a), *keyB = KeyOf<Unit16>(keys, b);
    size_t i = (size_t)resumeAt;
    while (keyA[i] == keyB[i] && keyA[i])
        i++;
    uint32_t c = keyA[i], d = keyB[i];
    if (!c && !d)
        return 0;
    // Single units, with no high surrogate before them to pair with, weigh
    // as the order places them; the rest is read as characters.
    if (c && d && !IsHighSurrogate(c) && !IsHighSurrogate(d) && (i == 0 || !IsHighSurrogate(keyA[i - 1])))
        return f->weights[c] < f->weights[d] ? -1 : 1;
    return CustomDecision(f, keyA, keyB, i);
}

#endif
