// The sort-order file: a user's list of characters in the wanted order.
#ifndef TALLORIX_ENGINE_ORDER_H
#define TALLORIX_ENGINE_ORDER_H

#include "types.h"

enum { ORDER_PATH_SIZE = 260 };

// Path of the order file in the ANSI code page, always NUL-terminated.
// Cleared and refilled by every command.
extern char orderFilePath[ORDER_PATH_SIZE];

// Loads the file named by orderFilePath; false when the sort is to go on
// without it. Failures that have a message show it first. The rank index
// and the weights, which only a sort by the order reads, are built when
// withIndex is set; without it the file is only read and checked.
bool LoadOrderTable(bool withIndex = true);

// Frees the table if one is held.
void ReleaseOrderTable();

// Rank of the character at a key position: the position of its first
// occurrence in the table (a surrogate pair as a pair), or -1 when it is
// not listed or no table is loaded. The sort reads the index directly;
// this is its one entry for the tests, which hold it to a scan.
int32_t OrderRank(const Unit16 *at);

// Custom order on two whole keys; only while a table is loaded. Keys are
// read as characters, a surrogate pair as one, and compare character by
// character, the end first: characters by rank (-1 when not listed), then
// by their units, a single unit before a pair that begins with it. The
// sign of the comparison.
int32_t CustomFrom(const Unit16 *a, const Unit16 *b);

// The same, for keys that are equal before position i and differ at it.
int32_t CustomDecision(const Unit16 *a, const Unit16 *b, size_t i);

// Each single unit's weight for the record prefixes: its place in the
// custom order among all single units, unlisted units first by code, then
// listed ones by rank; CUSTOM_STOP for a high surrogate, 0 for NUL. Held
// with the table; null while none is loaded.
extern Unit16 *orderWeights;

#endif
