#include "sort.h"

#include <string.h>

#include "../res/messages.h"
#include "compare.h"
#include "keys.h"
#include "order.h"
#include "quicksort.h"

static void ReportOutOfMemory(size_t bytes, WindowHandle owner)
{
    char text[256];
    PlatformFormat(text, MSG_OUT_OF_MEMORY, (uint32_t)bytes, PlatformLastError());
    PlatformErrorBox(owner, text);
}

BlockHandle AllocateBlock(size_t bytes, WindowHandle owner)
{
    BlockHandle block = PlatformBlockAlloc(bytes);
    if (!block)
        ReportOutOfMemory(bytes, owner);
    return block;
}

static Comparator ChooseComparator(SortOptions o)
{
    if (o.unicode && o.orderFile)
        return o.descending ? CompareCustomOrderDescending : CompareCustomOrder;
    if (o.unicode && o.numeric)
        return o.descending ? CompareNumericUnitsDescending : CompareNumericUnits;
    if (o.unicode)
        return o.descending ? CompareUnitsDescending : CompareUnits;
    if (o.numeric)
        return o.descending ? CompareNumericBytesDescending : CompareNumericBytes;
    return o.descending ? CompareBytesDescending : CompareBytes;
}

// Lines of a string of units ending at length: its LFs, plus one for a last
// line without LF.
template <typename U>
static size_t CountLines(const U *s, size_t length)
{
    size_t lines = 0;
    for (size_t i = 0; i < length; i++)
        lines += s[i] == '\n';
    return lines + (length > 0 && s[length - 1] != '\n');
}

// Records every line of the key buffer and of the text side by side, ending
// each key at its LF.
template <typename U>
static void FillLineTable(LineEntry *table, size_t count, U *key, const Unit16 *text)
{
    for (size_t i = 0; i < count; i++) {
        table[i].key = key;
        table[i].line = text;
        while (*key && *key != '\n')
            key++;
        if (*key)
            *key++ = 0;
        while (*text && *text != '\n')
            text++;
        if (*text)
            text++;
    }
}

static void WriteLines(Unit16 *out, const LineEntry *table, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        const Unit16 *line = table[i].line;
        size_t length = 0;
        while (line[length] && line[length] != '\n')
            length++;
        memcpy(out, line, length * sizeof(Unit16));
        out += length;
        *out++ = '\n';
    }
    *out = 0;
}

BlockHandle Sort(WindowHandle owner, const Unit16 *text, SortOptions options)
{
    if (options.orderFile && !LoadOrderTable())
        options.orderFile = false;

    size_t n = 0;
    while (text[n])
        n++;
    if (n > (SIZE_MAX - 4) / 2) {
        // Only a 32-bit host could hand over so much; the block size would
        // wrap. Report it as the allocation it is.
        ReportOutOfMemory(SIZE_MAX, owner);
        return NULL;
    }
    size_t blockBytes = 2 * n + 4;

    BlockHandle keyBlock = AllocateBlock(blockBytes, owner);
    if (!keyBlock)
        return NULL;
    void *key = PlatformBlockLock(keyBlock);

    size_t keyLines = 0;
    if (n > 0) {
        size_t keyLength;
        if (options.unicode) {
            Unit16 *k = (Unit16 *)key;
            memcpy(k, text, 2 * n + 2);
            keyLength = options.collapseBlanks ? CollapseBlanksUnits(k) : n;
            if (options.ignoreCase)
                FoldCaseUnits(k);
            keyLines = CountLines(k, keyLength);
        } else {
            unsigned char *k = (unsigned char *)key;
            int written = PlatformToCp932(text, (int)(n + 1), (char *)k, (int)(2 * n + 2));
            // The conversion includes the NUL; end the key even if it failed.
            k[written > 0 ? written - 1 : 0] = 0;
            keyLength = strlen((char *)k);
            if (options.collapseBlanks)
                keyLength = CollapseBlanksBytes(k);
            if (options.ignoreCase)
                FoldCaseBytes(k);
            keyLines = CountLines(k, keyLength);
        }
        // The key has a line for every line of the text, since both keep
        // every LF and nothing else becomes one. Should a conversion ever
        // break that, hand the text back unchanged rather than pair keys
        // with the wrong lines.
        if (keyLines != CountLines(text, n))
            keyLines = 0;
    }

    if (keyLines < 2) {
        memcpy(key, text, 2 * n + 2);
        PlatformBlockUnlock(keyBlock);
        return keyBlock;
    }

    size_t count = keyLines;
    LineEntry *table = (LineEntry *)PlatformLocalAlloc(count * sizeof(LineEntry));
    if (!table) {
        ReportOutOfMemory(count * sizeof(LineEntry), owner);
        PlatformBlockUnlock(keyBlock);
        PlatformBlockFree(keyBlock);
        return NULL;
    }
    if (options.unicode)
        FillLineTable(table, count, (Unit16 *)key, text);
    else
        FillLineTable(table, count, (unsigned char *)key, text);

    QuickSortLines(table, count, ChooseComparator(options));

    PlatformBlockUnlock(keyBlock);
    PlatformBlockFree(keyBlock);

    BlockHandle outBlock = AllocateBlock(blockBytes, owner);
    if (!outBlock) {
        PlatformLocalFree(table);
        return NULL;
    }
    WriteLines((Unit16 *)PlatformBlockLock(outBlock), table, count);
    PlatformBlockUnlock(outBlock);
    PlatformLocalFree(table);
    return outBlock;
}
