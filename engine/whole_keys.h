// The orders on whole keys, from a position both keys reach with
// everything before it equal: what a record comparison falls back on where
// the prefixes stop telling. Custom order's is CustomFrom (order.h), since
// it needs the order table.
#ifndef TALLORIX_ENGINE_WHOLE_KEYS_H
#define TALLORIX_ENGINE_WHOLE_KEYS_H

#include <string.h>

#include "types.h"

static inline bool IsDigit(uint32_t c)
{
    return c - '0' < 10;
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

// Numeric order, from a position that is not inside a digit run. A run of ASCII
// digits reads as an unsigned 32-bit number that wraps; two runs that
// differ return their difference, wrapped and taken as signed. Other units
// return their plain difference; the end sorts first.
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

#endif
