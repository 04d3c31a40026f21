// Code-order and numeric-aware comparators over NUL-terminated keys of
// code-page-932 bytes or UTF-16 code units. Each descending twin is its
// ascending comparator with the records exchanged.
#ifndef TALLORIX_ENGINE_COMPARE_H
#define TALLORIX_ENGINE_COMPARE_H

#include "types.h"

int32_t CompareBytes(const LineEntry *a, const LineEntry *b);
int32_t CompareUnits(const LineEntry *a, const LineEntry *b);
int32_t CompareNumericBytes(const LineEntry *a, const LineEntry *b);
int32_t CompareNumericUnits(const LineEntry *a, const LineEntry *b);

int32_t CompareBytesDescending(const LineEntry *a, const LineEntry *b);
int32_t CompareUnitsDescending(const LineEntry *a, const LineEntry *b);
int32_t CompareNumericBytesDescending(const LineEntry *a, const LineEntry *b);
int32_t CompareNumericUnitsDescending(const LineEntry *a, const LineEntry *b);

#endif
