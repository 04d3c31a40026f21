// Custom order against plain code-unit order on the same kanji words, and
// the rank index against a scan of the table from its start.
//
//   order_bench [LINES [SCAN_LINES]]     defaults 1000000 and 20000
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <random>
#include <vector>

#include "engine/order_file.h"
#include "engine/platform_native.h"
#include "tests/reference/unguarded_sort.h"
#include "engine/sort.h"
#include "tests/reference/rules.h"

static double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The order file's kept units, as the reference loader reads them, for
// the reference's scan.
static RefUnits scanTable;

static bool ReadTable(const char *path)
{
    std::vector<unsigned char> bytes = RefFileBytes(path);
    scanTable = RefLoadOrder(bytes.data(), bytes.size()).table;
    return !scanTable.empty();
}

// Words of two to four kanji drawn from the common range, one a line.
static std::vector<Unit16> MakeText(size_t lines, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<Unit16> text;
    for (size_t i = 0; i < lines; i++) {
        int length = 2 + rng() % 3;
        for (int k = 0; k < length; k++)
            text.push_back((Unit16)(0x4E00 + rng() % 0x5200));
        text.push_back('\n');
    }
    text.push_back(0);
    return text;
}

// An order file as a command starts with it: zero-filled, naming path.
static OrderFile OrderFileAt(const char *path)
{
    OrderFile f;
    memset(&f, 0, sizeof f);
    snprintf(f.path, sizeof f.path, "%s", path);
    return f;
}

// One sort as a command makes it, its order file released after.
static double TimeSort(const std::vector<Unit16> &text, SortOptions options, const char *path)
{
    OrderFile orderFile = OrderFileAt(path);
    double start = Now();
    BlockHandle block = Sort(NULL, text.data(), options, &orderFile);
    double ms = Now() - start;
    ReleaseOrderTable(&orderFile);
    if (!block) {
        fprintf(stderr, "order_bench: sort failed\n");
        exit(1);
    }
    PlatformBlockFree(block);
    return ms;
}

// Sorts a line table of the text's keys (the text itself, as in Unicode
// mode) with the given order on two keys.
template <typename Order>
static double TimeTable(std::vector<Unit16> text, Order order)
{
    std::vector<LineEntry> table;
    Unit16 *p = text.data();
    while (*p) {
        table.push_back({p, p});
        while (*p != '\n')
            p++;
        *p++ = 0;
    }
    double start = Now();
    QuickSortRecords(table.data(), table.size(), [order](const LineEntry *a, const LineEntry *b) {
        return order((const Unit16 *)a->key, (const Unit16 *)b->key);
    });
    return Now() - start;
}

int main(int argc, char **argv)
{
    size_t lines = argc > 1 ? strtoul(argv[1], NULL, 10) : 1000000;
    size_t scanLines = argc > 2 ? strtoul(argv[2], NULL, 10) : 20000;
    const char *path = TALLORIX_SOURCE_DIR "/data/BushuKakusuu.txt";
    NativeFillBlocks(false);
    if (!ReadTable(path)) {
        fprintf(stderr, "order_bench: cannot read %s\n", path);
        return 1;
    }

    std::vector<Unit16> text = MakeText(lines, 1);
    SortOptions plain = {false, false, false, false, true, false, false};
    SortOptions custom = plain;
    custom.orderFile = true;
    // Best of three, alternating, so both see the same machine.
    double plainMs = 1e18, customMs = 1e18;
    for (int round = 0; round < 3; round++) {
        double p = TimeSort(text, plain, path), c = TimeSort(text, custom, path);
        plainMs = p < plainMs ? p : plainMs;
        customMs = c < customMs ? c : customMs;
    }
    printf("%zu lines of kanji words, whole sort, best of 3\n", lines);
    printf("  code-unit order      %9.1f ms\n", plainMs);
    printf("  BushuKakusuu order   %9.1f ms   %.2f x code-unit order\n", customMs, customMs / plainMs);

    std::vector<Unit16> sample = MakeText(scanLines, 2);
    OrderFile orderFile = OrderFileAt(path);
    if (!LoadOrderTable(&orderFile, ORDER_INDEXED)) {
        fprintf(stderr, "order_bench: cannot load %s\n", path);
        return 1;
    }
    const OrderFile *f = &orderFile;
    double indexMs = TimeTable(sample, [f](const Unit16 *p, const Unit16 *q) { return CustomFrom(f, p, q); });
    double scanMs = TimeTable(sample, [](const Unit16 *p, const Unit16 *q) {
        return RefCustom(p, q, [](const Unit16 *at) { return RefRank(scanTable, at); });
    });
    ReleaseOrderTable(&orderFile);
    printf("%zu lines, sort phase only\n", scanLines);
    printf("  rank index           %9.1f ms\n", indexMs);
    printf("  scan from the start  %9.1f ms   %.0f x the index\n", scanMs, scanMs / indexMs);
    printf("bench order lines=%zu plain_ms=%.1f custom_ms=%.1f ratio=%.2f scan_lines=%zu index_ms=%.1f scan_ms=%.1f\n",
           lines, plainMs, customMs, customMs / plainMs, scanLines, indexMs, scanMs);
    return 0;
}
