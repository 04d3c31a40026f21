// The orders on whole keys, from a position both keys reach with
// everything before it equal: what a record comparison falls back on where
// the prefixes stop telling. Custom order's is CustomFrom (order_file.h),
// since it needs the order table.
#ifndef TALLORIX_ENGINE_KEY_COMPARE_H
#define TALLORIX_ENGINE_KEY_COMPARE_H

#include <string.h>

#include "types.h"

static inline bool IsDigit(uint32_t c)
{
    return c - '0' < 10;
}

static inline bool IsHighSurrogate(uint32_t u)
{
    return (u & 0xFC00) == 0xD800;
}

static inline bool IsLowSurrogate(uint32_t u)
{
    return (u & 0xFC00) == 0xDC00;
}

// Plain order: -1, 0 or 1 by the first differing unit, compared unsigned,
// the end first.
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

// The value of the digit run at p, exact below RUN_VALUE_LIMIT and held
// there beyond it; *end is set past the run.
enum : uint64_t { RUN_VALUE_LIMIT = 1ull << 60 };

template <typename U>
static inline uint64_t ReadRunValue(const U *p, const U **end)
{
    uint64_t value = 0;
    for (; IsDigit(*p); p++)
        if (value < RUN_VALUE_LIMIT)
            value = value * 10 + ((uint32_t)*p - '0');
    *end = p;
    return value;
}

// Two digit runs, each from its first digit, by value at any length:
// leading zeros do not count, the run with more digits after them is the
// larger, and of runs as long the first differing digit decides. -1, 0 or
// 1; on 0 both pointers are moved past their runs.
template <typename U>
static inline int32_t CompareRuns(const U **pp, const U **qq)
{
    const U *p = *pp, *q = *qq;
    while (*p == '0')
        p++;
    while (*q == '0')
        q++;
    int32_t first = 0;  // the first differing digit's verdict
    for (; IsDigit(*p) && IsDigit(*q); p++, q++)
        if (!first && *p != *q)
            first = *p < *q ? -1 : 1;
    if (IsDigit(*p))
        return 1;
    if (IsDigit(*q))
        return -1;
    *pp = p;
    *qq = q;
    return first;
}

// Numeric order, from a position that is not inside a digit run: the sign
// of the comparison. Two runs compare by value (CompareRuns) and, when
// equal, the keys go on after both; other units compare as units; the end
// sorts first.
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
            if (int32_t r = CompareRuns(&p, &q))
                return r;
            continue;
        }
        if (c != d)
            return (int32_t)(c - d);
        p++;
        q++;
    }
}

#endif
