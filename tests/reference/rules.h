// The reference: the sort's rules written straight from their statement,
// for the unit tests, the fuzzers and the benchmark to hold the engine's
// fast path to. The orders on whole keys, the order-file loader and the
// edits of the key buffer. Slow on purpose: unit by unit, ranks by a scan
// from the table's start. Never linked into the module. Every order here is
// a total preorder on any keys (plain and custom order are total orders),
// and descending is each one with its operands exchanged.
#ifndef TALLORIX_TESTS_REFERENCE_RULES_H
#define TALLORIX_TESTS_REFERENCE_RULES_H

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "engine/sort_orders.h"
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

// Numeric-aware order, one step at a time: -1, 0 or +1. Two runs of ASCII
// digits compare by value at any length: past their leading zeros the
// longer run is the larger, and of two as long the first differing digit
// decides. Equal values go on after both runs.
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
            size_t endA = i, endB = j;
            while (RefIsDigit(a[endA]))
                endA++;
            while (RefIsDigit(b[endB]))
                endB++;
            size_t x = i, y = j;  // first significant digits
            while (x < endA && a[x] == 0x30)
                x++;
            while (y < endB && b[y] == 0x30)
                y++;
            if (endA - x != endB - y)
                return endA - x < endB - y ? -1 : 1;
            for (; x < endA; x++, y++)
                if (a[x] != b[y])
                    return a[x] < b[y] ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        if (c != d)
            return c < d ? -1 : 1;
        i++;
        j++;
    }
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

// Units in the character at at: 2 for a high surrogate followed by a low
// one, else 1.
static inline size_t RefCharUnits(const Unit16 *at)
{
    return RefIsHigh(at[0]) && RefIsLow(at[1]) ? 2 : 1;
}

// Custom order, -1, 0 or +1, character by character: the key that ends
// first sorts first; two different characters compare by rank (rank(at)
// ranks the character at at), then by their units, a single unit before a
// pair that begins with it.
template <typename Rank>
int32_t RefCustom(const Unit16 *a, const Unit16 *b, Rank rank)
{
    for (size_t i = 0;;) {
        if (a[i] == 0)
            return b[i] != 0 ? -1 : 0;
        if (b[i] == 0)
            return 1;
        size_t na = RefCharUnits(a + i), nb = RefCharUnits(b + i);
        bool same = na == nb && a[i] == b[i] && (na == 1 || a[i + 1] == b[i + 1]);
        if (!same) {
            int32_t ra = rank(a + i), rb = rank(b + i);
            if (ra != rb)
                return ra < rb ? -1 : 1;
            if (a[i] != b[i])
                return a[i] < b[i] ? -1 : 1;
            if (na != nb)
                return na < nb ? -1 : 1;
            return a[i + 1] < b[i + 1] ? -1 : 1;
        }
        i += na;
    }
}

// The reference order on two whole keys for each of the sort's orders, -1,
// 0 or +1: its own reading of the names, apart from the engine's dispatch, so that
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
    default:
        break;  // dictionary order: RefDictionaryCompare (dictionary.h), over groups.txt
    }
    return 0;
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
