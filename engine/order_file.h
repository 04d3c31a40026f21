// The sort-order file: a user's list of characters in the wanted order.
#ifndef TALLORIX_ENGINE_ORDER_FILE_H
#define TALLORIX_ENGINE_ORDER_FILE_H

#include "types.h"

enum { ORDER_PATH_SIZE = 260 };

// The order file of one command: its path, and the table loaded from it
// with the index that ranks characters and the weights of single units.
// The command owns it, zero-filled at its start, and releases it at its
// end; the sort reads it. Nothing is held between commands.
struct OrderFile {
    char path[ORDER_PATH_SIZE];  // ANSI code page, NUL-terminated; empty: none

    Unit16 *units;  // the kept units, mark first; null: no table
    size_t length;
    uint32_t *firstUnit;   // [65536]: rank + 1 of each unit, 0 if unlisted
    uint32_t **firstPair;  // [1024], per high surrogate: rank + 1 of each
                           // pair it starts, or null where it starts none
    uint32_t *pairBlocks;  // the blocks firstPair points into
    // Each single unit's weight for the record prefixes: its place in the
    // custom order among all single units, unlisted units first by code,
    // then listed ones by rank; CUSTOM_STOP for a high surrogate, 0 for
    // NUL. Null with no index.
    Unit16 *weights;
};

// What a load builds: the index and the weights only for a sort by the
// order; outside Unicode mode the file is only read and checked.
enum OrderUse { ORDER_CHECK_ONLY, ORDER_INDEXED };

// Loads the file named by f->path, first releasing any table f holds;
// false when the sort is to go on without it. Failures that have a
// message show it first.
bool LoadOrderTable(OrderFile *f, OrderUse use);

// Frees the table and index if f holds them; the path stays.
void ReleaseOrderTable(OrderFile *f);

// Rank of the character at a key position: the position of its first
// occurrence in the table (a surrogate pair as a pair), or -1 when it is
// not listed or f holds no index. The sort reads the index directly;
// this is its one entry for the tests, which hold it to a scan.
int32_t OrderRank(const OrderFile *f, const Unit16 *at);

// Custom order on two whole keys; only with an index. Keys are read as
// characters, a surrogate pair as one, and compare character by
// character, the end first: characters by rank (-1 when not listed), then
// by their units, a single unit before a pair that begins with it. The
// sign of the comparison.
int32_t CustomFrom(const OrderFile *f, const Unit16 *a, const Unit16 *b);

// The same, for keys that are equal before position i and differ at it.
int32_t CustomDecision(const OrderFile *f, const Unit16 *a, const Unit16 *b, size_t i);

#endif
