// Types shared by the sort engine, the filter interface and the tests.
#ifndef TALLORIX_ENGINE_TYPES_H
#define TALLORIX_ENGINE_TYPES_H

#include <stddef.h>
#include <stdint.h>

typedef uint16_t Unit16;  // one UTF-16 code unit

// The seven flags of the option string, in string order.
struct SortOptions {
    bool descending;
    bool collapseBlanks;
    bool ignoreCase;
    bool numeric;
    bool unicode;
    bool orderFile;
    bool dictionary;
};

// Whether the order file orders the keys: only in Unicode mode, and there
// in place of numbers by value, which the options dialog then turns off.
// In dictionary order it orders the kanji alone, beside numbers by value.
static inline bool OrderFileOrders(SortOptions o)
{
    return o.unicode && o.orderFile && !o.dictionary;
}

// Whether the keys are UTF-16 units rather than code page 932 bytes.
// Dictionary order reads characters whatever the code order.
static inline bool KeysAreUnits(SortOptions o)
{
    return o.unicode || o.dictionary;
}

// A line and its sort key, as each record of the line table holds them
// (prefix.h). The key is a NUL-terminated string of bytes (code page 932)
// or of Unit16; orders look only at it.
struct LineEntry {
    const void *key;
    const Unit16 *line;
};

#endif
