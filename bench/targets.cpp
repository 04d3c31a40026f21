#include "bench/targets.h"

#include <stdio.h>
#include <string.h>

#include "bench/wine_client.h"

void PrintTable(const std::vector<Result> &results)
{
    char wine[16];
    snprintf(wine, sizeof wine, "wine %s", wineModule);
    printf("%-21s %8s %8s %8s %8s %8s %8s %9s %9s %9s %8s %8s %8s %8s %11s %7s\n", "mode", "lines", "keys",
           "table", "sort", "output", "total", "guard on", "guard off", "std::sort", "gnu", "gnu -p1",
           "gnu -V", wine, "comparisons", "peakMiB");
    for (const Result &r : results)
        printf("%-21s %8zu %8.1f %8.1f %8.1f %8.1f %8.1f %9.1f %9.1f %9.1f %8.1f %8.1f %8.1f %8.1f %11llu "
               "%7.1f\n",
               r.mode, r.lines, r.keys, r.table, r.sort, r.output, r.total, r.guardOn, r.guardOff, r.stdSort,
               r.gnu, r.gnuSingle, r.gnuVersion, r.wine, r.comparisons, r.peakMib);
}

// The module under Wine beside GNU sort: the whole call, and the engine's
// phases built as the module builds them.
void PrintWineTable(const std::vector<Result> &results)
{
    printf("%-21s %8s %8s %8s %8s %8s %8s %9s %8s %8s %7s\n", "under wine", "lines", "keys", "table", "sort",
           "output", "phases", wineModule, "gnu -p1", "gnu -V", "ratio");
    for (const Result &r : results) {
        if (r.wine <= 0)
            continue;
        double gnu = r.gnuVersion > 0 ? r.gnuVersion : r.gnuSingle;
        printf("%-21s %8zu %8.1f %8.1f %8.1f %8.1f %8.1f %9.1f %8.1f %8.1f %7.2f\n", r.mode, r.lines, r.wineKeys,
               r.wineTable, r.wineSort, r.wineOutput, r.wineKeys + r.wineTable + r.wineSort + r.wineOutput,
               r.wine, r.gnuSingle, r.gnuVersion, gnu > 0 ? r.wine / gnu : 0);
    }
}

// Whether two results are of the same lines: the ordinary ones, or one
// pattern's, of one size.
static bool SameLines(const Result &a, const Result &b)
{
    return a.lines == b.lines && (a.pattern ? b.pattern && !strcmp(a.pattern, b.pattern) : !b.pattern);
}

// The lines dictionary order is held to code-unit order on.
static bool ComparedInDictionary(const Result &r)
{
    return !r.pattern || !strcmp(r.pattern, "japanese-words") || !strcmp(r.pattern, "kana-names");
}

const Result *Ordinary(const std::vector<Result> &results, const Result &r)
{
    for (const Result &u : results)
        if (!u.pattern && u.lines == r.lines && !strcmp(u.mode, r.mode))
            return &u;
    return NULL;
}

void PrintPatterns(const std::vector<Result> &results, const std::vector<Result> &ordinary)
{
    char wine[16];
    snprintf(wine, sizeof wine, "wine %s", wineModule);
    printf("%-16s %-14s %8s %8s %9s %6s %9s %9s %6s %11s %7s %9s %5s\n", "mode", "pattern", "lines", "total",
           "ordinary", "ratio", wine, "ordinary", "ratio", "comparisons", "peakMiB", "finishMiB", "exact");
    for (const Result &r : results) {
        const Result *o = Ordinary(ordinary, r);
        if (!o)
            continue;
        printf("%-16s %-14s %8zu %8.1f %9.1f %6.2f %9.1f %9.1f %6.2f %11llu %7.1f %9.1f %5s\n", r.mode, r.pattern,
               r.lines, r.total, o->total, r.total / o->total, r.wine, o->wine, o->wine > 0 ? r.wine / o->wine : 0,
               r.comparisons, r.peakMib, r.otherMib, r.finished ? "yes" : "no");
    }
}

void PrintBenchLines(const std::vector<Result> &results, const std::vector<Result> &patterns,
                     const std::vector<Result> &beside)
{
    for (const Result &r : results)
        printf("bench mode=%s lines=%zu total_ms=%.1f keys_ms=%.1f table_ms=%.1f sort_ms=%.1f output_ms=%.1f "
               "guard_on_ms=%.1f guard_off_ms=%.1f std_sort_ms=%.1f gnu_sort_ms=%.1f gnu_sort_p1_ms=%.1f "
               "gnu_sort_v_ms=%.1f wine_module=%s wine_ms=%.1f wine_keys_ms=%.1f wine_table_ms=%.1f "
               "wine_sort_ms=%.1f wine_output_ms=%.1f comparisons=%llu peak_mib=%.1f block_mib=%.1f "
               "table_mib=%.1f order_mib=%.1f other_mib=%.1f exact=%d\n",
               r.mode, r.lines, r.total, r.keys, r.table, r.sort, r.output, r.guardOn, r.guardOff, r.stdSort,
               r.gnu, r.gnuSingle, r.gnuVersion, wineModule, r.wine, r.wineKeys, r.wineTable, r.wineSort,
               r.wineOutput, r.comparisons, r.peakMib, r.blockMib, r.tableMib, r.orderMib, r.otherMib,
               r.finished);
    for (const Result &r : patterns) {
        const Result *o = Ordinary(beside, r);
        printf("bench pattern=%s mode=%s lines=%zu total_ms=%.1f ordinary_ms=%.1f wine_module=%s wine_ms=%.1f "
               "wine_ordinary_ms=%.1f comparisons=%llu peak_mib=%.1f finish_mib=%.1f exact=%d\n",
               r.pattern, r.mode, r.lines, r.total, o->total, wineModule, r.wine, o->wine, r.comparisons,
               r.peakMib, r.otherMib, r.finished);
    }
}

void PrintDictionary(const std::vector<Result> &results, const std::vector<Result> &patterns)
{
    char wine[16];
    snprintf(wine, sizeof wine, "wine %s", wineModule);
    printf("%-16s %8s %9s %10s %6s %9s %10s %6s %8s %8s\n", "dictionary", "lines", "unicode", "dictionary",
           "ratio", wine, "dictionary", "ratio", "peakMiB", "unicode");
    for (const std::vector<Result> *table : {&results, &patterns})
        for (const Result &d : *table) {
            if (strcmp(d.mode, "dictionary") || !ComparedInDictionary(d))
                continue;
            for (const Result &u : *table)
                if (SameLines(u, d) && !strcmp(u.mode, "unicode"))
                    printf("%-16s %8zu %9.1f %10.1f %6.2f %9.1f %10.1f %6.2f %8.1f %8.1f\n",
                           d.pattern ? d.pattern : "ordinary", d.lines, u.total, d.total, d.total / u.total,
                           u.wine, d.wine, u.wine > 0 ? d.wine / u.wine : 0, d.peakMib, u.peakMib);
        }
}

// Dictionary order against UTF-16 order on the same lines in the same
// rounds: time natively and under Wine, and peak memory, each within 1.5
// times. unicode is the row of "unicode" on those lines.
static int CheckDictionary(const Result &r, const Result &unicode)
{
    int missed = 0;
    const char *what = r.pattern ? r.pattern : "ordinary lines";
    if (r.total > 1.5 * unicode.total) {
        printf("target missed: dictionary %s %.1f ms > 1.5 x unicode %.1f ms\n", what, r.total, unicode.total);
        missed++;
    }
    if (r.wine > 0 && unicode.wine > 0 && r.wine > 1.5 * unicode.wine) {
        printf("target missed: dictionary %s wine %s %.1f ms > 1.5 x unicode %.1f ms\n", what, wineModule, r.wine,
               unicode.wine);
        missed++;
    }
    if (r.peakMib > 1.5 * unicode.peakMib) {
        printf("target missed: dictionary %s peak %.1f MiB > 1.5 x unicode %.1f MiB\n", what, r.peakMib,
               unicode.peakMib);
        missed++;
    }
    return missed;
}

int CheckTargets(const std::vector<Result> &results, const std::vector<Result> &patterns,
                 const std::vector<Result> &beside)
{
    int missed = 0;
    for (const std::vector<Result> *table : {&results, &patterns, &beside})
        for (const Result &r : *table)
            if (r.wine > 0 && r.wineHash != r.hash) {
                printf("wrong result: %s %s %zu lines through the %s module differs from the native sort\n",
                       r.mode, r.pattern ? r.pattern : "", r.lines, wineModule);
                missed++;
            }
    for (const Result &r : results) {
        if (r.lines < 1000000)
            continue;
        // Custom and dictionary order are held to code-unit order, not to
        // GNU sort, which orders neither way.
        bool custom = !strcmp(r.mode, "custom") || !strcmp(r.mode, "dictionary");
        if (!custom && r.gnuSingle > 0 && r.total > r.gnuSingle) {
            printf("target missed: %s total %.1f ms > gnu sort --parallel=1 %.1f ms\n", r.mode, r.total,
                   r.gnuSingle);
            missed++;
        }
        if (!custom && r.sort > 1.5 * r.stdSort) {
            printf("target missed: %s sort %.1f ms > 1.5 x std::sort %.1f ms\n", r.mode, r.sort, r.stdSort);
            missed++;
        }
        for (const Result &u : results) {
            if (!SameLines(u, r) || strcmp(u.mode, "unicode"))
                continue;
            if (!strcmp(r.mode, "custom") && r.total > 1.5 * u.total) {
                printf("target missed: custom %.1f ms > 1.5 x unicode %.1f ms\n", r.total, u.total);
                missed++;
            }
            if (!strcmp(r.mode, "dictionary"))
                missed += CheckDictionary(r, u);
        }
        if (r.otherMib > 0.05) {
            printf("target missed: %s holds %.1f MiB beyond one block, the table and the order\n", r.mode,
                   r.otherMib);
            missed++;
        }
        // The module against GNU sort: half of --parallel=1, and in the
        // numeric modes a quarter of -V, which sorts numbers as they do.
        bool numeric = r.gnuVersion != 0;
        if (r.wine > 0 && !numeric && r.gnuSingle > 0 && r.wine > 0.5 * r.gnuSingle) {
            printf("target missed: %s wine %s %.1f ms > 0.5 x gnu sort --parallel=1 %.1f ms\n", r.mode, wineModule,
                   r.wine, r.gnuSingle);
            missed++;
        }
        if (r.wine > 0 && numeric && r.gnuVersion > 0 && r.wine > 0.25 * r.gnuVersion) {
            printf("target missed: %s wine %s %.1f ms > 0.25 x gnu sort -V %.1f ms\n", r.mode, wineModule, r.wine,
                   r.gnuVersion);
            missed++;
        }
        if (r.wine > 0 && r.wine > 1.5 * r.total) {
            printf("target missed: %s wine %s %.1f ms > 1.5 x native %.1f ms\n", r.mode, wineModule, r.wine,
                   r.total);
            missed++;
        }
    }
    for (const Result &r : patterns) {
        const Result *o = Ordinary(beside, r);
        if (!o)
            continue;
        if (r.total > 3 * o->total) {
            printf("target missed: %s %s %.1f ms > 3 x ordinary %.1f ms\n", r.mode, r.pattern, r.total, o->total);
            missed++;
        }
        if (r.wine > 0 && o->wine > 0 && r.wine > 1.5 * o->wine) {
            printf("target missed: %s %s wine %s %.1f ms > 1.5 x ordinary %.1f ms\n", r.mode, r.pattern,
                   wineModule, r.wine, o->wine);
            missed++;
        }
        if (!strcmp(r.pattern, "killer") && r.lines >= 1000000 && r.total >= 1000) {
            printf("target missed: %s killer %.1f ms, not under a second\n", r.mode, r.total);
            missed++;
        }
        if (!strcmp(r.mode, "dictionary") && ComparedInDictionary(r))
            for (const Result &u : patterns)
                if (SameLines(u, r) && !strcmp(u.mode, "unicode"))
                    missed += CheckDictionary(r, u);
    }
    if (!missed)
        printf("targets met\n");
    return missed;
}
