#include "quicksort.h"

void QuickSortLines(LineEntry *t, size_t count, Comparator cmp)
{
    QuickSortRecords(t, count, cmp);
}
