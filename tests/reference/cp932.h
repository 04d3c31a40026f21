// The reference conversion to code page 932: each unit alone, looked up in
// the committed table (engine/cp932_table.inc), as WideCharToMultiByte(932,
// 0, ...) converts. The Wine test holds it to the live conversion; the
// native tests and the fuzzers hold the native platform layer to it.
#ifndef TALLORIX_TESTS_REFERENCE_CP932_H
#define TALLORIX_TESTS_REFERENCE_CP932_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

struct RefCp932Entry {
    uint16_t unit;
    uint16_t bytes;  // one byte below 0x100, else lead byte high
};

static const RefCp932Entry refCp932Table[] = {
#include "engine/cp932_table.inc"
};

static const size_t REF_CP932_ENTRIES = sizeof refCp932Table / sizeof refCp932Table[0];

// The bytes of unit u alone, as the table lists them (units ascend), '?'
// for a unit not listed.
static inline uint16_t RefCp932Unit(uint16_t u)
{
    size_t lo = 0, hi = REF_CP932_ENTRIES;
    while (lo < hi) {
        size_t mid = lo + (hi - lo) / 2;
        if (refCp932Table[mid].unit < u)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo < REF_CP932_ENTRIES && refCp932Table[lo].unit == u ? refCp932Table[lo].bytes : '?';
}

// The n units at s in code page 932: each unit's bytes in turn, a
// surrogate pair as its two units.
static inline std::vector<uint8_t> RefToCp932(const uint16_t *s, size_t n)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < n; i++) {
        uint16_t v = RefCp932Unit(s[i]);
        if (v > 0xFF)
            out.push_back((uint8_t)(v >> 8));
        out.push_back((uint8_t)v);
    }
    return out;
}

#endif
