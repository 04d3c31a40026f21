#include "order.h"

char orderFilePath[ORDER_PATH_SIZE];

// No order file is read yet: the sort always goes on without one.
bool LoadOrderTable()
{
    return false;
}

void ReleaseOrderTable()
{
}

int32_t CompareCustomOrder(const LineEntry *, const LineEntry *)
{
    return 0;
}

int32_t CompareCustomOrderDescending(const LineEntry *a, const LineEntry *b)
{
    return CompareCustomOrder(b, a);
}
