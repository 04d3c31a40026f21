// The engine's own in-place quicksort of the line table. It is not stable:
// the order of records whose keys compare equal is part of the module's
// observable behaviour, so the procedure must not change.
#ifndef TALLORIX_ENGINE_QUICKSORT_H
#define TALLORIX_ENGINE_QUICKSORT_H

#include "types.h"

void QuickSortLines(LineEntry *table, size_t count, Comparator cmp);

#endif
