#include "compare.h"

#include <string.h>

// Plain order: the first differing unit decides, compared unsigned; the
// NUL that ends a key is smaller than any unit, so a prefix sorts first.
int32_t CompareBytes(const LineEntry *a, const LineEntry *b)
{
    // strcmp compares as unsigned char, which is exactly byte order.
    int r = strcmp((const char *)a->key, (const char *)b->key);
    return (r > 0) - (r < 0);
}

int32_t CompareUnits(const LineEntry *a, const LineEntry *b)
{
    const Unit16 *p = (const Unit16 *)a->key;
    const Unit16 *q = (const Unit16 *)b->key;
    while (*p == *q && *p) {
        p++;
        q++;
    }
    return (*p > *q) - (*p < *q);
}

// Numeric-aware order. A run of ASCII digits reads as an unsigned 32-bit
// number that wraps; two runs that differ return their difference, wrapped
// and taken as signed. Other units return their plain difference.
template <typename U>
static int32_t CompareNumeric(const U *p, const U *q)
{
    for (;;) {
        uint32_t c = *p, d = *q;
        if (c == 0)
            return d != 0 ? -1 : 0;
        if (d == 0)
            return 1;
        if (c - '0' < 10 && d - '0' < 10) {
            uint32_t x = 0, y = 0;
            for (; (uint32_t)*p - '0' < 10; p++)
                x = x * 10 + ((uint32_t)*p - '0');
            for (; (uint32_t)*q - '0' < 10; q++)
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

int32_t CompareNumericBytes(const LineEntry *a, const LineEntry *b)
{
    return CompareNumeric((const unsigned char *)a->key, (const unsigned char *)b->key);
}

int32_t CompareNumericUnits(const LineEntry *a, const LineEntry *b)
{
    return CompareNumeric((const Unit16 *)a->key, (const Unit16 *)b->key);
}

int32_t CompareBytesDescending(const LineEntry *a, const LineEntry *b)
{
    return CompareBytes(b, a);
}

int32_t CompareUnitsDescending(const LineEntry *a, const LineEntry *b)
{
    return CompareUnits(b, a);
}

int32_t CompareNumericBytesDescending(const LineEntry *a, const LineEntry *b)
{
    return CompareNumericBytes(b, a);
}

int32_t CompareNumericUnitsDescending(const LineEntry *a, const LineEntry *b)
{
    return CompareNumericUnits(b, a);
}
