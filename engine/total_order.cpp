// Whether an order is a total preorder over the keys of a table, which the
// quicksort's exact finish needs: only then do ranks give every
// comparison's sign. Each test is a sufficient condition, cheap to check,
// and proven below; where it fails the procedure goes on directly.
#include "key_order.h"

// Numeric order reads each digit run as a value modulo 2^32 and returns the
// difference of two values as a signed 32-bit number. While every value is
// below 2^31 the difference is exact, and so are the differences of units.
// A key is then a sequence of tokens, a digit run or a single other unit,
// compared token by token with the end first: runs by value, other units by
// unit, and a run against another unit by its first digit. No other unit
// lies between '0' and '9', so every run compares alike against a given
// other unit. The tokens are thus totally preordered, and so, token by
// token, are the keys.
//
// Values of 2^31 and more break it: 0, 2^30, 2^31 and 3 * 2^30 each
// compare below the next and the last below the first, as every difference
// of neighbours is 2^30 and 0 - 3 * 2^30 wraps to 2^30.
template <typename U>
bool NumericRunsBelow2To31(const SortRecord *t, size_t n)
{
    for (size_t i = 0; i < n; i++) {
        const U *k = (const U *)t[i].entry.key;
        while (*k) {
            if (!IsDigit(*k)) {
                k++;
                continue;
            }
            uint32_t value = 0;
            for (; IsDigit(*k); k++)
                value = value * 10 + ((uint32_t)*k - '0');
            if (value >= 0x80000000u)
                return false;
        }
    }
    return true;
}

// Custom order compares two keys at their first differing unit by the
// weight of the character there: listed characters by rank, after the
// unlisted ones by unit, a key's end before all. That weight depends on the
// unit alone, except that a high surrogate followed by a low one is ranked
// as a pair, so its weight depends on the unit after it. And when two keys
// hold the same high surrogate and differ in the low ones after it, they
// are told apart by those low surrogates, each ranked alone, while every
// other key meets them at the high surrogate, ranked as a pair. That can
// make a cycle. A lone low surrogate ranks where its unit first stands in
// the table, inside any pair; so with U+21001, U+20000, Y and U+20001
// listed in that order, U+DC01 (the low unit of U+21001 and U+20001) ranks
// before U+DC00 (that of U+20000), and
//
//   U+20000 < Y, by the pairs' ranks
//   Y < U+20001, by the pairs' ranks
//   U+20001 < U+20000, by the low surrogates' ranks
//
// So the order is certified where, for every high surrogate, either no key
// holds it followed by a low surrogate, or every key that holds it has the
// same unit after it. Then a high surrogate's weight is fixed by the unit
// itself; and two keys never first differ right after the same high
// surrogate in a pair, since its follower is the same in both. Each unit
// thus has one weight, distinct units distinct weights (a listed unit's
// rank is a position holding that unit), and the keys compare unit by unit
// on those weights: a total order. Keys without surrogate pairs always
// pass.
bool CustomPairsFollowOneUnit(const SortRecord *t, size_t n)
{
    enum { HIGHS = 1024, NONE = 0x10000 };
    uint32_t follower[HIGHS];          // the unit after each high surrogate
    unsigned char paired[HIGHS] = {};  // followed by a low surrogate somewhere
    unsigned char mixed[HIGHS] = {};   // followed by two different units
    for (int h = 0; h < HIGHS; h++)
        follower[h] = NONE;
    for (size_t i = 0; i < n; i++) {
        const Unit16 *k = (const Unit16 *)t[i].entry.key;
        for (; *k; k++) {
            if ((*k & 0xFC00) != 0xD800)
                continue;
            int h = *k - 0xD800;
            uint32_t next = k[1];
            if (follower[h] == NONE)
                follower[h] = next;
            else if (follower[h] != next)
                mixed[h] = 1;
            if ((next & 0xFC00) == 0xDC00)
                paired[h] = 1;
        }
    }
    for (int h = 0; h < HIGHS; h++)
        if (paired[h] && mixed[h])
            return false;
    return true;
}

template bool NumericRunsBelow2To31<unsigned char>(const SortRecord *, size_t);
template bool NumericRunsBelow2To31<Unit16>(const SortRecord *, size_t);
