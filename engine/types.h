// Types shared by the sort engine, the filter interface and the tests.
#ifndef TALLORIX_ENGINE_TYPES_H
#define TALLORIX_ENGINE_TYPES_H

#include <stddef.h>
#include <stdint.h>

typedef uint16_t Unit16;  // one UTF-16 code unit

// The six flags of the option string, in string order.
struct SortOptions {
    bool descending;
    bool collapseBlanks;
    bool ignoreCase;
    bool numeric;
    bool unicode;
    bool orderFile;
};

// One record of the line table. Comparators look only at key: a
// NUL-terminated string of bytes (code page 932) or of Unit16.
struct LineEntry {
    const void *key;
    const Unit16 *line;
};

typedef int32_t (*Comparator)(const LineEntry *a, const LineEntry *b);

#endif
