// Records of loose keys for the tests and fuzzers: the keys copied end to
// end into one buffer, as the key block holds them, since a record names
// its key by offset in such a buffer (engine/prefix.h).
#ifndef TALLORIX_TESTS_SUPPORT_KEYED_RECORDS_H
#define TALLORIX_TESTS_SUPPORT_KEYED_RECORDS_H

#include <string.h>

#include <vector>

#include "engine/sort_orders.h"

struct KeyedRecords {
    std::vector<Unit16> buffer;  // byte keys lie two to a unit
    std::vector<SortRecord> records;
    const void *Keys() const { return buffer.data(); }
};

// A record of each NUL-terminated key, of units (Unit16) or bytes, packed in
// order's way; record i has line i.
inline KeyedRecords RecordsOf(const std::vector<const void *> &keys, bool units, KeyOrder order,
                              const OrderFile *file)
{
    size_t size = units ? 2 : 1;
    std::vector<unsigned char> bytes;
    std::vector<size_t> at;
    for (const void *key : keys) {
        const unsigned char *k = (const unsigned char *)key;
        size_t n = 0;
        if (units)
            while (((const Unit16 *)key)[n])
                n++;
        else
            while (k[n])
                n++;
        at.push_back(bytes.size() / size);
        bytes.insert(bytes.end(), k, k + (n + 1) * size);
    }
    KeyedRecords r;
    r.buffer.resize(bytes.size() / 2 + 1);
    memcpy(r.buffer.data(), bytes.data(), bytes.size());
    const unsigned char *base = (const unsigned char *)r.buffer.data();
    for (size_t i = 0; i < keys.size(); i++)
        r.records.push_back({PackKey(base + at[i] * size, order, file), (uint32_t)at[i], (uint32_t)i});
    return r;
}

#endif
