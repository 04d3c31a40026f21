#include "sort.h"

#include <limits.h>
#include <string.h>

#include "../res/messages.h"
#include "key_edits.h"
#include "order_file.h"
#include "sizes.h"
#include "sort_phases.h"

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

// Lines of a NUL-terminated string, and its length: its LFs, plus one for
// a last line without LF.
template <typename U>
static size_t CountLines(const U *s, size_t *length)
{
    size_t lines = 0, n = 0;
    for (; s[n]; n++)
        lines += s[n] == '\n';
    *length = n;
    return lines + (n > 0 && s[n - 1] != '\n');
}

bool BeginSort(SortWork *w, WindowHandle owner, const Unit16 *text, SortOptions options, OrderFile *orderFile)
{
    memset(w, 0, sizeof *w);
    w->owner = owner;
    w->text = text;
    w->orderFile = orderFile;
    // Outside Unicode mode the file is read and its failures shown, but
    // its order is not used: no index is built for it.
    if (options.orderFile && !LoadOrderTable(orderFile, options.unicode ? ORDER_INDEXED : ORDER_CHECK_ONLY))
        options.orderFile = false;
    w->options = options;

    size_t n;
    w->textLines = CountLines(text, &n);
    w->length = n;
    // The block size would wrap (only a 32-bit host could hand over so
    // much), the conversion to code page 932, which counts in int, could
    // not take the text, or the line table's 32-bit offsets could not
    // reach its end: reported as the allocation it is.
    if (n > (SIZE_MAX - 4) / 2 || (!KeysAreUnits(options) && 2 * n + 2 > INT_MAX) || n >= UINT32_MAX) {
        ReportOutOfMemory(SIZE_MAX, owner);
        return false;
    }
    w->blockBytes = 2 * n + 4;
    w->keyBlock = AllocateBlock(w->blockBytes, owner);
    if (!w->keyBlock)
        return false;
    w->key = PlatformBlockLock(w->keyBlock);
    return true;
}

void MakeKeys(SortWork *w)
{
    size_t n = w->length;
    if (n == 0)
        return;
    SortOptions o = w->options;
    if (KeysAreUnits(o)) {
        if (o.collapseBlanks || o.ignoreCase)
            CopyEditedUnits((Unit16 *)w->key, w->text, o.collapseBlanks, o.ignoreCase);
        else
            memcpy(w->key, w->text, 2 * n + 2);
        // A copy keeps every LF and makes none, and collapsing keeps a
        // last line's end: the key has the text's lines.
        w->lines = w->textLines;
        return;
    }
    unsigned char *k = (unsigned char *)w->key;
    int written = PlatformToCp932(w->text, (int)(n + 1), (char *)k, (int)(2 * n + 2));
    // The conversion includes the NUL; end the key even if it failed.
    k[written > 0 ? written - 1 : 0] = 0;
    if (o.collapseBlanks)
        CollapseBlanksBytes(k);
    if (o.ignoreCase)
        FoldCaseBytes(k);
    size_t length;
    w->lines = CountLines(k, &length);
    // The key has a line for every line of the text, since the conversion
    // keeps every LF and makes none. Should it ever break that, hand the
    // text back unchanged rather than pair keys with the wrong lines.
    if (w->lines != w->textLines)
        w->lines = 0;
}

BlockHandle ReturnText(SortWork *w)
{
    memcpy(w->key, w->text, 2 * w->length + 2);
    memset((unsigned char *)w->key + 2 * w->length + 2, 0, 2);
    PlatformBlockUnlock(w->keyBlock);
    return w->keyBlock;
}

// Records every line of the key buffer and of the text side by side, ending
// each key at its LF. Pack is the order's packing, known at compile time.
// Offsets fit in 32 bits, as BeginSort took only such texts.
template <typename U, typename Pack>
static void FillLineTable(SortRecord *table, size_t count, U *keys, const Unit16 *text, Pack pack)
{
    U *key = keys;
    const Unit16 *line = text;
    for (size_t i = 0; i < count; i++) {
        table[i].key = (uint32_t)(key - keys);
        table[i].line = (uint32_t)(line - text);
        U *start = key;
        while (*key && *key != '\n')
            key++;
        if (*key)
            *key++ = 0;
        table[i].prefix = pack(start);
        while (*line && *line != '\n')
            line++;
        if (*line)
            line++;
    }
}

// Unicode keys without collapsed blanks lie where their lines lie in the
// text, so one walk finds both.
template <typename Pack>
static void FillCopiedLineTable(SortRecord *table, size_t count, Unit16 *keys, Pack pack)
{
    Unit16 *key = keys;
    for (size_t i = 0; i < count; i++) {
        table[i].key = table[i].line = (uint32_t)(key - keys);
        Unit16 *start = key;
        while (*key && *key != '\n')
            key++;
        if (*key)
            *key++ = 0;
        table[i].prefix = pack(start);
    }
}

template <typename Pack>
static void FillUnitsTable(SortWork *w, Pack pack)
{
    if (w->options.collapseBlanks)
        FillLineTable(w->table, w->lines, (Unit16 *)w->key, w->text, pack);
    else
        FillCopiedLineTable(w->table, w->lines, (Unit16 *)w->key, pack);
}

bool MakeLineTable(SortWork *w)
{
    size_t count = w->lines, tableBytes;
    bool fits = SizeProduct(count, sizeof(SortRecord), &tableBytes);
    w->table = fits ? (SortRecord *)PlatformLocalAlloc(tableBytes) : NULL;
    if (!w->table) {
        ReportOutOfMemory(fits ? tableBytes : SIZE_MAX, w->owner);
        PlatformBlockUnlock(w->keyBlock);
        PlatformBlockFree(w->keyBlock);
        return false;
    }
    WithKeyOrder(ChooseKeyOrder(w->options), w->key, w->orderFile, [w, count](auto o) {
        typedef decltype(o) Order;
        auto pack = [o](const typename Order::Unit *k) { return o.Pack(k); };
        if constexpr (sizeof(typename Order::Unit) == 1)
            FillLineTable(w->table, count, (unsigned char *)w->key, w->text, pack);
        else
            FillUnitsTable(w, pack);
    });
    return true;
}

void SortLineTable(SortWork *w)
{
    SortRecords(w->table, w->lines, ChooseKeyOrder(w->options), w->key, w->orderFile, w->options.descending);
}

// Returns the end of what was written, past the NUL.
static Unit16 *WriteLines(Unit16 *out, const SortRecord *table, size_t count, const Unit16 *text)
{
    for (size_t i = 0; i < count; i++) {
        // The lines lie all over the text: the one needed a few records on
        // is fetched while this one is copied.
        if (i + 8 < count)
            __builtin_prefetch(text + table[i + 8].line);
        // Lines are short: one pass that copies up to the LF beats a
        // measuring pass and a copy.
        const Unit16 *line = text + table[i].line;
        Unit16 c;
        while ((c = *line++) != 0 && c != '\n')
            *out++ = c;
        *out++ = '\n';
    }
    *out++ = 0;
    return out;
}

BlockHandle WriteOutput(SortWork *w)
{
    // The keys are read no more: the lines go into their block, which is
    // the output's size and already in memory. A fresh block would cost
    // its every page again, as much as the sort itself on a large text.
    unsigned char *start = (unsigned char *)w->key;
    unsigned char *end = (unsigned char *)WriteLines((Unit16 *)start, w->table, w->lines, w->text);
    // A text that ended with LF leaves 2 bytes behind the NUL; they go to
    // the editor zeroed rather than as whatever the keys left there.
    memset(end, 0, w->blockBytes - (size_t)(end - start));
    PlatformBlockUnlock(w->keyBlock);
    BlockHandle out = w->keyBlock;
    w->keyBlock = NULL;
    w->key = NULL;
    PlatformLocalFree(w->table);
    w->table = NULL;
    return out;
}

BlockHandle Sort(WindowHandle owner, const Unit16 *text, SortOptions options, OrderFile *orderFile)
{
    SortWork w;
    if (!BeginSort(&w, owner, text, options, orderFile))
        return NULL;
    MakeKeys(&w);
    if (w.lines < 2)
        return ReturnText(&w);
    if (!MakeLineTable(&w))
        return NULL;
    SortLineTable(&w);
    return WriteOutput(&w);
}
