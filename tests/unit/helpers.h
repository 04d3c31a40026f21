// Shared helpers of the engine's unit tests.
#ifndef TALLORIX_TESTS_UNIT_HELPERS_H
#define TALLORIX_TESTS_UNIT_HELPERS_H

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "engine/order_file.h"
#include "engine/platform_native.h"
#include "engine/sort.h"
#include "filter/options.h"
#include "tests/reference/dictionary.h"
#include "tests/reference/procedure.h"
#include "tests/reference/rules.h"

typedef std::vector<Unit16> Units;

// The sign of a comparison, the only part of it that counts.
inline int Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

// NUL-terminated copy of a UTF-16 string as engine units.
inline Units ToUnits(const std::u16string &s)
{
    Units u(s.begin(), s.end());
    u.push_back(0);
    return u;
}

// A file of these bytes in /tmp; its path.
inline std::string WriteFile(const std::string &bytes)
{
    char path[] = "/tmp/tallorix-order-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    close(fd);
    return path;
}

// The bytes of an order file: UTF-16LE, with the mark unless told not.
inline std::string Utf16File(const std::u16string &units, bool mark = true)
{
    std::string bytes = mark ? "\xFF\xFE" : "";
    for (char16_t u : units) {
        bytes += (char)(u & 0xFF);
        bytes += (char)(u >> 8);
    }
    return bytes;
}

// Flags in option-string order: "100000" is descending only.
inline SortOptions Options(const char *flags)
{
    return DecodeOptions(flags);
}

// An order file as a command starts with it: zero-filled, naming path
// (empty: none).
inline OrderFile OrderFileAt(const std::string &path)
{
    OrderFile f;
    memset(&f, 0, sizeof f);
    snprintf(f.path, sizeof f.path, "%s", path.c_str());
    return f;
}

// Sorts text, with the order file at orderPath, and returns the result's
// text, freeing the block. Checks what holds for every successful sort:
// the block is 2n + 4 bytes, its text ends within it, the input is
// untouched and only the result block is left allocated once the order
// table is released.
inline std::u16string SortText(const std::u16string &text, SortOptions options, const std::string &orderPath = "")
{
    Units in = ToUnits(text);
    const Units saved = in;
    long live = NativeLiveAllocations();
    OrderFile orderFile = OrderFileAt(orderPath);
    BlockHandle block = Sort((WindowHandle)0x10, in.data(), options, &orderFile);
    ReleaseOrderTable(&orderFile);  // as the sort command does
    EXPECT_TRUE(block != NULL);
    if (!block)
        return u"<null>";
    EXPECT_EQ(NativeLiveAllocations(), live + 1);
    EXPECT_EQ(NativeBlockSize(block), 2 * text.size() + 4);
    EXPECT_EQ(in, saved);

    size_t units = NativeBlockSize(block) / 2;
    const Unit16 *p = (const Unit16 *)PlatformBlockLock(block);
    std::u16string out;
    size_t i = 0;
    for (; i < units && p[i]; i++)
        out.push_back((char16_t)p[i]);
    EXPECT_LT(i, units) << "no NUL inside the block";
    for (; i < units; i++)
        EXPECT_EQ(p[i], 0) << "unit " << i << " behind the text";
    PlatformBlockUnlock(block);
    PlatformBlockFree(block);
    EXPECT_EQ(NativeLiveAllocations(), live);
    return out;
}

// Readable form of UTF-16 text for failure messages.
inline std::string Show(const std::u16string &s)
{
    std::string r;
    char buf[12];
    for (char16_t c : s) {
        snprintf(buf, sizeof buf, c >= 0x20 && c < 0x7F ? "%c" : "<%X>", (unsigned)c);
        r += buf;
    }
    return r;
}

// The reference's ranks for the order file at path.
inline RefRanks ReferenceRanks(const char *path)
{
    std::vector<unsigned char> bytes = RefFileBytes(path);
    RefRanks ranks;
    RefMakeRanks(RefLoadOrder(bytes.data(), bytes.size()).table, &ranks);
    return ranks;
}

// The reference dictionary order's data: the project's copy of groups.txt.
inline const RefDictionary &ReferenceDictionary()
{
    static RefDictionary d;
    static bool loaded = RefLoadDictionary(TALLORIX_SOURCE_DIR "/data/dictionary/groups.txt", &d);
    EXPECT_TRUE(loaded);
    return d;
}

// The lines of the standard's conformance data (data/dictionary/), each
// smaller than the next in dictionary order.
inline std::vector<std::u16string> ConformanceLines()
{
    std::vector<std::u16string> lines;
    std::vector<unsigned char> bytes = RefFileBytes(TALLORIX_SOURCE_DIR "/data/dictionary/conformance.txt"), line;
    for (size_t i = 0; i <= bytes.size(); i++) {
        if (i < bytes.size() && bytes[i] != '\n') {
            line.push_back(bytes[i]);
            continue;
        }
        RefUnits u;
        EXPECT_TRUE(RefDictUtf16(line, &u));
        if (!u.empty())
            lines.push_back(std::u16string(u.begin(), u.end()));
        line.clear();
    }
    return lines;
}

// The reference's options for a dictionary order of the engine, read
// from its bits apart from the engine's own reading; ranks: the order
// file's, for its kanji ranked.
inline RefDictOptions ReferenceDictOptions(KeyOrder order, const RefRanks *ranks)
{
    int kanji = order >> 2 & 3;
    RefDictOptions o = {(order & 2) != 0, (order & 1) != 0, kanji != DICT_KANJI_CP932,
                        kanji == DICT_KANJI_RANKED ? ranks : NULL};
    return o;
}

// The reference rule of any order on two whole keys: RefCompare, or for
// dictionary order RefDictionaryCompare.
inline int32_t ReferenceCompare(KeyOrder order, const void *a, const void *b, const RefRanks *ranks)
{
    if (order & ORDER_DICTIONARY)
        return RefDictionaryCompare(ReferenceDictionary(), (const Unit16 *)a, (const Unit16 *)b,
                                    ReferenceDictOptions(order, ranks));
    return RefCompare(order, a, b, ranks);
}

// The entries in the order the reference procedure leaves them, with the
// reference rule of the order (custom order and dictionary order with its
// kanji ranked: that of the file at orderPath); descending by exchanging
// the records.
inline void ReferenceSort(std::vector<LineEntry> &entries, KeyOrder order, bool descending, const char *orderPath)
{
    RefRanks ranks;
    if (order == ORDER_CUSTOM || order == DictionaryKeyOrder(order & 1, order & 2, DICT_KANJI_RANKED))
        ranks = ReferenceRanks(orderPath);
    std::vector<size_t> t(entries.size());
    for (size_t i = 0; i < t.size(); i++)
        t[i] = i;
    // Dictionary order weighs each key once, as the weights depend on the
    // key alone.
    std::vector<std::vector<RefDictWeights>> weights;
    if (order & ORDER_DICTIONARY)
        for (const LineEntry &e : entries)
            weights.push_back(RefDictWeigh(ReferenceDictionary(), (const Unit16 *)e.key,
                                           ReferenceDictOptions(order, &ranks)));
    RefQuickSort(t, [&](size_t x, size_t y) {
        if (descending)
            std::swap(x, y);
        if (order & ORDER_DICTIONARY)
            return RefDictCompareWeighed(weights[x], weights[y]);
        return ReferenceCompare(order, entries[x].key, entries[y].key, &ranks);
    });
    std::vector<LineEntry> sorted;
    for (size_t i : t)
        sorted.push_back(entries[i]);
    entries = sorted;
}

#endif
