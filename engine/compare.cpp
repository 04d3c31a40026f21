#include "compare.h"

#include "records.h"

// Plain order: the first differing unit decides, compared unsigned; the
// NUL that ends a key is smaller than any unit, so a prefix sorts first.
int32_t CompareBytes(const LineEntry *a, const LineEntry *b)
{
    return PlainBytesFrom((const unsigned char *)a->key, (const unsigned char *)b->key);
}

int32_t CompareUnits(const LineEntry *a, const LineEntry *b)
{
    return PlainUnitsFrom((const Unit16 *)a->key, (const Unit16 *)b->key);
}

// Numeric-aware order. A run of ASCII digits reads as an unsigned 32-bit
// number that wraps; two runs that differ return their difference, wrapped
// and taken as signed. Other units return their plain difference.
int32_t CompareNumericBytes(const LineEntry *a, const LineEntry *b)
{
    return NumericFrom((const unsigned char *)a->key, (const unsigned char *)b->key);
}

int32_t CompareNumericUnits(const LineEntry *a, const LineEntry *b)
{
    return NumericFrom((const Unit16 *)a->key, (const Unit16 *)b->key);
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
