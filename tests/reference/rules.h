// The reference: the sort's rules written straight from their statement,
// for the unit tests, the fuzzers and the benchmark to hold the engine's
// fast path to. The orders on whole keys, the order-file loader and the
// edits of the key buffer. Slow on purpose: unit by unit, ranks by a scan
// from the table's start. Never linked into the module.
#ifndef TALLORIX_TESTS_REFERENCE_RULES_H
#define TALLORIX_TESTS_REFERENCE_RULES_H

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "engine/key_order.h"
#include "engine/types.h"

typedef std::vector<Unit16> RefUnits;

static inline bool RefIsDigit(uint32_t c)
{
    return c >= 0x30 && c <= 0x39;
}

static inline bool RefIsHigh(uint32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

static inline bool RefIsLow(uint32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Plain order: -1, 0 or +1 from the first position where the keys differ.
template <typename U>
int32_t RefPlain(const U *a, const U *b)
{
    for (size_t i = 0;; i++) {
        if (a[i] < b[i])
            return -1;
        if (a[i] > b[i])
            return 1;
        if (a[i] == 0)
            return 0;
    }
}

// a - b on numbers taken modulo 2^32, read as a signed 32-bit value.
static inline int32_t RefWrappedDifference(uint64_t a, uint64_t b)
{
    int64_t d = (int64_t)((a - b) & 0xFFFFFFFFu);
    return (int32_t)(d >= 0x80000000 ? d - 0x100000000 : d);
}

// Numeric-aware order, one step at a time.
template <typename U>
int32_t RefNumeric(const U *a, const U *b)
{
    size_t i = 0, j = 0;
    for (;;) {
        uint32_t c = a[i], d = b[j];
        if (c == 0)
            return d != 0 ? -1 : 0;
        if (d == 0)
            return 1;
        if (RefIsDigit(c) && RefIsDigit(d)) {
            uint64_t x = 0, y = 0;
            for (; RefIsDigit(a[i]); i++)
                x = (x * 10 + (a[i] - 0x30)) % 0x100000000;
            for (; RefIsDigit(b[j]); j++)
                y = (y * 10 + (b[j] - 0x30)) % 0x100000000;
            if (x != y)
                return RefWrappedDifference(x, y);
            continue;
        }
        if (c != d)
            return (int32_t)c - (int32_t)d;
        i++;
        j++;
    }
}

// True when every digit run of key reads (wrapped) below 2^31: then every
// numeric comparison among such keys is exact and the order is a total
// preorder.
template <typename U>
bool RefNumbersSmall(const U *key)
{
    for (size_t i = 0; key[i];) {
        if (!RefIsDigit(key[i])) {
            i++;
            continue;
        }
        uint64_t x = 0;
        for (; RefIsDigit(key[i]); i++)
            x = (x * 10 + (key[i] - 0x30)) % 0x100000000;
        if (x >= 0x80000000)
            return false;
    }
    return true;
}

// The loader's messages, written out here rather than taken from the
// module's own texts, so that a changed text shows. The native build keeps
// them in UTF-8.
#define REF_ORDER_OPEN_FAILED "並び順指定ファイルがロード出来ませんでした。"
#define REF_ORDER_TOO_LARGE "並び順指定ファイルが大きすぎます。４メガバイト以下でないとダメです。"
#define REF_ORDER_NO_MEMORY "並び順指定ファイルを読み込む用のメモリが確保出来ませんでした。"
#define REF_ORDER_NOT_UTF16 \
    "並び順指定ファイルがUTF-16(BOMあり)になってません。UTF-16(BOMあり)形式で保存しなおしてください。"

// What loading a file of these bytes gives: the outcome, the message and
// the table (the mark first). bufferFails: the buffer for the file's
// contents cannot be allocated.
struct RefOrderLoad {
    bool loads;
    const char *message;  // "" when none
    RefUnits table;
};

static inline RefOrderLoad RefLoadOrder(const unsigned char *bytes, size_t size, bool bufferFails = false)
{
    RefOrderLoad r = {false, "", RefUnits()};
    if (size >= 0x400000) {
        r.message = REF_ORDER_TOO_LARGE;
        return r;
    }
    if (size == 0)
        return r;
    if (bufferFails) {
        r.message = REF_ORDER_NO_MEMORY;
        return r;
    }
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        r.message = REF_ORDER_NOT_UTF16;
        return r;
    }
    for (size_t i = 0; i + 1 < size; i += 2) {
        Unit16 u = (Unit16)(bytes[i] | bytes[i + 1] << 8);
        if (u > 0x0020)
            r.table.push_back(u);
    }
    r.loads = r.table.size() > 1;
    return r;
}

// The bytes of a file, for the reference loader; none if it cannot be read.
static inline std::vector<unsigned char> RefFileBytes(const char *path)
{
    std::vector<unsigned char> bytes;
    if (FILE *f = fopen(path, "rb")) {
        unsigned char buf[65536];
        size_t got;
        while ((got = fread(buf, 1, sizeof buf, f)) > 0)
            bytes.insert(bytes.end(), buf, buf + got);
        fclose(f);
    }
    return bytes;
}

// Rank by a scan from position 0: a surrogate pair as a pair, anything
// else as its single unit.
static inline int32_t RefRank(const RefUnits &t, const Unit16 *at)
{
    if (RefIsHigh(at[0]) && RefIsLow(at[1])) {
        for (size_t i = 0; i + 1 < t.size(); i++)
            if (t[i] == at[0] && t[i + 1] == at[1])
                return (int32_t)i;
        return -1;
    }
    for (size_t i = 0; i < t.size(); i++)
        if (t[i] == at[0])
            return (int32_t)i;
    return -1;
}

// First ranks of every single unit and pair, by the same forward scan, for
// tables too long to scan at each comparison.
struct RefRanks {
    std::vector<int32_t> single;          // [65536]
    std::vector<std::vector<int32_t>> pair;  // [1024][1024], rows made on demand
};

static inline void RefMakeRanks(const RefUnits &t, RefRanks *r)
{
    r->single.assign(65536, -1);
    r->pair.assign(1024, std::vector<int32_t>());
    for (size_t i = 0; i < t.size(); i++) {
        if (r->single[t[i]] < 0)
            r->single[t[i]] = (int32_t)i;
        if (i + 1 < t.size() && RefIsHigh(t[i]) && RefIsLow(t[i + 1])) {
            std::vector<int32_t> &row = r->pair[t[i] - 0xD800];
            if (row.empty())
                row.assign(1024, -1);
            if (row[t[i + 1] - 0xDC00] < 0)
                row[t[i + 1] - 0xDC00] = (int32_t)i;
        }
    }
}

static inline int32_t RefRankOf(const RefRanks &r, const Unit16 *at)
{
    if (RefIsHigh(at[0]) && RefIsLow(at[1])) {
        const std::vector<int32_t> &row = r.pair[at[0] - 0xD800];
        return row.empty() ? -1 : row[at[1] - 0xDC00];
    }
    return r.single[at[0]];
}

// Custom order: only the first differing position is looked up.
template <typename Rank>
int32_t RefCustom(const Unit16 *a, const Unit16 *b, Rank rank)
{
    size_t i = 0;
    while (a[i] == b[i]) {
        if (a[i] == 0)
            return 0;
        i++;
    }
    if (a[i] == 0 || b[i] == 0)
        return (int32_t)a[i] - (int32_t)b[i];
    int32_t ra = rank(a + i), rb = rank(b + i);
    if (ra != rb)
        return ra - rb;
    return (int32_t)a[i] - (int32_t)b[i];
}

// The reference order on two whole keys for each of the sort's orders:
// its own reading of the names, apart from the engine's dispatch, so that
// a wrong mapping there shows. ranks: the order table's, for ORDER_CUSTOM.
static inline int32_t RefCompare(KeyOrder order, const void *a, const void *b, const RefRanks *ranks)
{
    typedef const unsigned char *Bytes;
    typedef const Unit16 *Units;
    switch (order) {
    case ORDER_BYTES:
        return RefPlain((Bytes)a, (Bytes)b);
    case ORDER_UNITS:
        return RefPlain((Units)a, (Units)b);
    case ORDER_NUMERIC_BYTES:
        return RefNumeric((Bytes)a, (Bytes)b);
    case ORDER_NUMERIC_UNITS:
        return RefNumeric((Units)a, (Units)b);
    case ORDER_CUSTOM:
        return RefCustom((Units)a, (Units)b, [ranks](const Unit16 *at) { return RefRankOf(*ranks, at); });
    }
    return 0;
}

// True when no key holds a surrogate pair: every position then ranks as
// its single unit and the custom order is a total preorder.
static inline bool RefNoPairs(const Unit16 *key)
{
    for (size_t i = 0; key[i]; i++)
        if (RefIsHigh(key[i]) && RefIsLow(key[i + 1]))
            return false;
    return true;
}


// The key buffer as the sort edits it, over the whole buffer at once (LFs
// still in place): blank runs to one SPACE, then a-z to A-Z. The byte
// version steps over a lead byte of code page 932 and the byte after it
// when that byte is not the NUL.
static inline bool RefIsCp932Lead(uint32_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

template <typename U>
void RefCollapseBlanks(std::vector<U> &k)
{
    std::vector<U> r;
    for (size_t i = 0; i < k.size();) {
        if (k[i] == 0x09 || k[i] == 0x20) {
            r.push_back(0x20);
            while (i < k.size() && (k[i] == 0x09 || k[i] == 0x20))
                i++;
        } else {
            r.push_back(k[i++]);
        }
    }
    k = r;
}

template <typename U>
void RefFoldCase(std::vector<U> &k, bool bytes)
{
    for (size_t i = 0; i < k.size(); i++) {
        if (k[i] >= 0x61 && k[i] <= 0x7A)
            k[i] = (U)(k[i] - 0x20);
        else if (bytes && RefIsCp932Lead(k[i]) && i + 1 < k.size() && k[i + 1] != 0)
            i++;
    }
}

// The buffer (without its NUL) cut at each LF into NUL-terminated keys; a
// last line without LF is a key too.
template <typename U>
std::vector<std::vector<U>> RefSplitKeys(const std::vector<U> &k)
{
    std::vector<std::vector<U>> keys;
    std::vector<U> cur;
    for (size_t i = 0; i < k.size(); i++) {
        if (k[i] == 0x0A) {
            cur.push_back(0);
            keys.push_back(cur);
            cur.clear();
        } else {
            cur.push_back(k[i]);
        }
    }
    if (!cur.empty()) {
        cur.push_back(0);
        keys.push_back(cur);
    }
    return keys;
}

#endif
