// The sort-order file and the custom order it defines.
//
// A character ranks at the position of its first occurrence among the
// file's kept units, the byte-order mark being unit 0. Ranks come from an
// index built at load time, which gives the same answer as scanning the
// table from its start: firstUnit[u] for a single unit, and for a
// surrogate pair a block of 1,024 first positions per high surrogate that
// occurs in a pair. Stored positions are one more than the rank, so that
// the zero-filled memory reads as "not listed".
//
// For the sort's record prefixes every single unit but a high surrogate
// also gets a 16-bit weight, its place in the custom order among all such
// units: unlisted units first by code, then listed ones by rank. All of it
// lives in the command's OrderFile (order_file.h).
#include "order_file.h"

#include <string.h>

#include "../res/messages.h"
#include "platform.h"
#include "custom_prefix.h"

enum {
    ORDER_FILE_LIMIT = 0x400000,  // bytes; the file must be smaller
    HIGH_COUNT = 1024,
    LOW_COUNT = 1024,
};

static void ReleaseIndex(OrderFile *f)
{
    PlatformLocalFree(f->firstUnit);
    PlatformLocalFree(f->firstPair);
    PlatformLocalFree(f->pairBlocks);
    PlatformLocalFree(f->weights);
    f->firstUnit = NULL;
    f->firstPair = NULL;
    f->pairBlocks = NULL;
    f->weights = NULL;
}

void ReleaseOrderTable(OrderFile *f)
{
    ReleaseIndex(f);
    PlatformLocalFree(f->units);
    f->units = NULL;
    f->length = 0;
}

static bool BuildIndex(OrderFile *f)
{
    const Unit16 *units = f->units;
    size_t length = f->length;
    uint32_t *firstUnit = f->firstUnit = (uint32_t *)PlatformLocalAlloc(65536 * sizeof(uint32_t));
    uint32_t **firstPair = f->firstPair = (uint32_t **)PlatformLocalAlloc(HIGH_COUNT * sizeof(uint32_t *));
    if (!firstUnit || !firstPair)
        return false;

    // Count the high surrogates that start a pair, marking each one's slot.
    size_t blocks = 0;
    for (size_t i = 0; i + 1 < length; i++) {
        Unit16 h = units[i];
        if (IsHighSurrogate(h) && IsLowSurrogate(units[i + 1]) && !firstPair[h - 0xD800]) {
            firstPair[h - 0xD800] = (uint32_t *)1;
            blocks++;
        }
    }
    if (blocks) {
        uint32_t *next = f->pairBlocks = (uint32_t *)PlatformLocalAlloc(blocks * LOW_COUNT * sizeof(uint32_t));
        if (!next)
            return false;
        for (int h = 0; h < HIGH_COUNT; h++)
            if (firstPair[h]) {
                firstPair[h] = next;
                next += LOW_COUNT;
            }
    }

    // Fill from the end, so that each slot keeps its first position.
    for (size_t i = length; i-- > 0;) {
        Unit16 u = units[i];
        firstUnit[u] = (uint32_t)i + 1;
        if (IsHighSurrogate(u) && i + 1 < length && IsLowSurrogate(units[i + 1]))
            firstPair[u - 0xD800][units[i + 1] - 0xDC00] = (uint32_t)i + 1;
    }

    Unit16 *weights = f->weights = (Unit16 *)PlatformLocalAlloc(65536 * sizeof(Unit16));
    if (!weights)
        return false;
    // High surrogates, never weighed, are left out of the count, which so
    // stays below CUSTOM_STOP.
    Unit16 w = 0;
    for (uint32_t u = 1; u < 65536; u++)
        if (IsHighSurrogate((Unit16)u))
            weights[u] = CUSTOM_STOP;
        else if (!firstUnit[u])
            weights[u] = ++w;
    for (size_t i = 0; i < length; i++)
        if (firstUnit[units[i]] == i + 1 && !IsHighSurrogate(units[i]))
            weights[units[i]] = ++w;
    return true;
}

static bool Fail(const char *message)
{
    if (message)
        PlatformErrorBox(PlatformActiveWindow(), message);
    return false;
}

bool LoadOrderTable(OrderFile *f, OrderUse use)
{
    ReleaseOrderTable(f);

    FileHandle file = PlatformOpenFile(f->path);
    if (!file)
        return Fail(MSG_ORDER_OPEN_FAILED);

    uint32_t size;
    if (!PlatformFileSize(file, &size) || size >= ORDER_FILE_LIMIT) {
        PlatformCloseFile(file);
        return Fail(MSG_ORDER_TOO_LARGE);
    }
    if (size == 0) {
        PlatformCloseFile(file);
        return Fail(NULL);
    }

    Unit16 *units = (Unit16 *)PlatformLocalAlloc(size);
    if (!units) {
        PlatformCloseFile(file);
        return Fail(MSG_ORDER_NO_MEMORY);
    }
    uint32_t got;
    if (!PlatformReadFile(file, units, size, &got) || got < size) {
        PlatformLocalFree(units);
        PlatformCloseFile(file);
        return Fail(MSG_ORDER_NO_MEMORY);
    }
    if (size < 2 || units[0] != 0xFEFF) {
        PlatformLocalFree(units);
        PlatformCloseFile(file);
        return Fail(MSG_ORDER_NOT_UTF16);
    }

    // Keep the units above SPACE, in order; a final odd byte is no unit.
    size_t kept = 0;
    for (size_t i = 0; i < size / 2; i++)
        if (units[i] > 0x0020)
            units[kept++] = units[i];
    f->units = units;
    f->length = kept;
    PlatformCloseFile(file);

    if (kept <= 1)
        return false;
    if (use == ORDER_INDEXED && !BuildIndex(f)) {
        ReleaseOrderTable(f);
        return Fail(MSG_ORDER_NO_MEMORY);
    }
    return true;
}

// Rank of the unit u followed by next; only with an index.
static inline int32_t RankOf(const OrderFile *f, Unit16 u, Unit16 next)
{
    if (IsHighSurrogate(u) && IsLowSurrogate(next)) {
        const uint32_t *block = f->firstPair[u - 0xD800];
        return block ? (int32_t)block[next - 0xDC00] - 1 : -1;
    }
    return (int32_t)f->firstUnit[u] - 1;
}

int32_t OrderRank(const OrderFile *f, const Unit16 *at)
{
    return f->firstUnit ? RankOf(f, at[0], IsHighSurrogate(at[0]) ? at[1] : 0) : -1;
}

// Keys are read as characters: a high surrogate followed by a low one is
// one character, every other unit one by itself. Two characters compare by
// rank, then by their units, a single unit before a pair that begins with
// it. Since a character's rank and units depend on it alone, this orders
// the characters totally, and the keys, character by character with the
// end first, too.
//
// Two keys first differ in a character that starts at their first
// differing unit i, or at i - 1 when that is a high surrogate and a low
// one at i closes a pair in either key. A high surrogate is never the
// second unit of a character, so i - 1 starts one in both keys.
int32_t CustomDecision(const OrderFile *f, const Unit16 *a, const Unit16 *b, size_t i)
{
    if (i > 0 && IsHighSurrogate(a[i - 1]) && (IsLowSurrogate(a[i]) || IsLowSurrogate(b[i])))
        i--;
    uint32_t c = a[i], d = b[i];
    if (!c || !d)
        return (int32_t)(c - d);  // a key that has ended sorts first
    // A unit after the NUL is never looked at: c and d are not NUL.
    Unit16 cNext = a[i + 1], dNext = b[i + 1];
    int32_t rc = RankOf(f, (Unit16)c, cNext), rd = RankOf(f, (Unit16)d, dNext);
    if (rc != rd)
        return rc < rd ? -1 : 1;
    if (c != d)
        return (int32_t)(c - d);
    // One high surrogate: alone, or in pairs with different low ones.
    bool pairA = IsLowSurrogate(cNext), pairB = IsLowSurrogate(dNext);
    if (pairA != pairB)
        return pairA ? 1 : -1;
    return (int32_t)cNext - (int32_t)dNext;
}

int32_t CustomFrom(const OrderFile *f, const Unit16 *a, const Unit16 *b)
{
    size_t i = 0;
    while (a[i] == b[i]) {
        if (!a[i])
            return 0;
        i++;
    }
    return CustomDecision(f, a, b, i);
}
