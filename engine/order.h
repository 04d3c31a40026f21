// The sort-order file: a user's list of characters in the wanted order.
#ifndef TALLORIX_ENGINE_ORDER_H
#define TALLORIX_ENGINE_ORDER_H

#include "types.h"

enum { ORDER_PATH_SIZE = 260 };

// Path of the order file in the ANSI code page, always NUL-terminated.
// Cleared and refilled by every command.
extern char orderFilePath[ORDER_PATH_SIZE];

// Loads the file named by orderFilePath; false when the sort is to go on
// without it. Failures that have a message show it first.
bool LoadOrderTable();

// Frees the table if one is held.
void ReleaseOrderTable();

// Rank of the character at a key position: the position of its first
// occurrence in the table (a surrogate pair as a pair), or -1 when it is
// not listed or no table is loaded.
int32_t OrderRank(const Unit16 *at);

// Custom order; only while a table is loaded.
int32_t CompareCustomOrder(const LineEntry *a, const LineEntry *b);
int32_t CompareCustomOrderDescending(const LineEntry *a, const LineEntry *b);

#endif
