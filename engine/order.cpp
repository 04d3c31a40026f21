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
// units: unlisted units first by code, then listed ones by rank.
#include "order.h"

#include <string.h>

#include "../res/messages.h"
#include "platform.h"
#include "custom_prefix.h"

enum {
    ORDER_FILE_LIMIT = 0x400000,  // bytes; the file must be smaller
    HIGH_COUNT = 1024,
    LOW_COUNT = 1024,
};

char orderFilePath[ORDER_PATH_SIZE];
Unit16 *orderWeights;  // [65536]; 0 only for NUL

static Unit16 *orderUnits;  // the kept units, mark first
static size_t orderLength;
static uint32_t *firstUnit;       // [65536]
static uint32_t **firstPair;      // [HIGH_COUNT], NULL where no pair starts
static uint32_t *pairBlocks;      // the blocks firstPair points into

static inline bool IsHigh(Unit16 u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

static inline bool IsLow(Unit16 u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

static void ReleaseIndex()
{
    PlatformLocalFree(firstUnit);
    PlatformLocalFree(firstPair);
    PlatformLocalFree(pairBlocks);
    PlatformLocalFree(orderWeights);
    firstUnit = NULL;
    firstPair = NULL;
    pairBlocks = NULL;
    orderWeights = NULL;
}

void ReleaseOrderTable()
{
    ReleaseIndex();
    PlatformLocalFree(orderUnits);
    orderUnits = NULL;
    orderLength = 0;
}

static bool BuildIndex()
{
    firstUnit = (uint32_t *)PlatformLocalAlloc(65536 * sizeof(uint32_t));
    firstPair = (uint32_t **)PlatformLocalAlloc(HIGH_COUNT * sizeof(uint32_t *));
    if (!firstUnit || !firstPair)
        return false;

    // Count the high surrogates that start a pair, marking each one's slot.
    size_t blocks = 0;
    for (size_t i = 0; i + 1 < orderLength; i++) {
        Unit16 h = orderUnits[i];
        if (IsHigh(h) && IsLow(orderUnits[i + 1]) && !firstPair[h - 0xD800]) {
            firstPair[h - 0xD800] = (uint32_t *)1;
            blocks++;
        }
    }
    if (blocks) {
        pairBlocks = (uint32_t *)PlatformLocalAlloc(blocks * LOW_COUNT * sizeof(uint32_t));
        if (!pairBlocks)
            return false;
        uint32_t *next = pairBlocks;
        for (int h = 0; h < HIGH_COUNT; h++)
            if (firstPair[h]) {
                firstPair[h] = next;
                next += LOW_COUNT;
            }
    }

    // Fill from the end, so that each slot keeps its first position.
    for (size_t i = orderLength; i-- > 0;) {
        Unit16 u = orderUnits[i];
        firstUnit[u] = (uint32_t)i + 1;
        if (IsHigh(u) && i + 1 < orderLength && IsLow(orderUnits[i + 1]))
            firstPair[u - 0xD800][orderUnits[i + 1] - 0xDC00] = (uint32_t)i + 1;
    }

    orderWeights = (Unit16 *)PlatformLocalAlloc(65536 * sizeof(Unit16));
    if (!orderWeights)
        return false;
    // High surrogates, never weighed, are left out of the count, which so
    // stays below CUSTOM_STOP.
    Unit16 w = 0;
    for (uint32_t u = 1; u < 65536; u++)
        if (IsHigh((Unit16)u))
            orderWeights[u] = CUSTOM_STOP;
        else if (!firstUnit[u])
            orderWeights[u] = ++w;
    for (size_t i = 0; i < orderLength; i++)
        if (firstUnit[orderUnits[i]] == i + 1 && !IsHigh(orderUnits[i]))
            orderWeights[orderUnits[i]] = ++w;
    return true;
}

static bool Fail(const char *message)
{
    if (message)
        PlatformErrorBox(PlatformActiveWindow(), message);
    return false;
}

bool LoadOrderTable(bool withIndex)
{
    ReleaseOrderTable();

    FileHandle file = PlatformOpenFile(orderFilePath);
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
    orderUnits = units;
    orderLength = kept;
    PlatformCloseFile(file);

    if (orderLength <= 1)
        return false;
    if (withIndex && !BuildIndex()) {
        ReleaseOrderTable();
        return Fail(MSG_ORDER_NO_MEMORY);
    }
    return true;
}

// Rank of the unit u followed by next; only with a table loaded.
static inline int32_t RankOf(Unit16 u, Unit16 next)
{
    if (IsHigh(u) && IsLow(next)) {
        const uint32_t *block = firstPair[u - 0xD800];
        return block ? (int32_t)block[next - 0xDC00] - 1 : -1;
    }
    return (int32_t)firstUnit[u] - 1;
}

int32_t OrderRank(const Unit16 *at)
{
    return firstUnit ? RankOf(at[0], IsHigh(at[0]) ? at[1] : 0) : -1;
}

// The decision at the first differing units c and d, each followed by its
// key's next unit.
static inline int32_t CustomDecision(Unit16 c, Unit16 cNext, Unit16 d, Unit16 dNext)
{
    if (c && d) {
        int32_t rc = RankOf(c, cNext), rd = RankOf(d, dNext);
        if (rc != rd)
            return rc - rd;
    }
    return (int32_t)c - (int32_t)d;
}

int32_t CustomFrom(const Unit16 *p, const Unit16 *q)
{
    while (*p == *q) {
        if (!*p)
            return 0;
        p++;
        q++;
    }
    // A unit after the NUL is never looked at: the decision needs none.
    return CustomDecision(p[0], p[0] ? p[1] : 0, q[0], q[0] ? q[1] : 0);
}
