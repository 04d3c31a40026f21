// The whole sort in every mode, phase by phase, beside GNU sort, std::sort
// of the same line table and the Windows build under Wine.
//
//   sort_bench [--wine "RUNNER WINE_BENCH"] [--wine-module x86|x64] [--no-gnu]
//              [--patterns N] [--modes NAME,...] [--killer] [LINES...]
//
// LINES defaults to 100000 and 1000000; --modes runs only the modes named.
// Each figure is the best of ROUNDS, each round takes every mode in turn,
// and the figures of one mode in a round are taken side by side: a native sort, std::sort,
// GNU sort twice and, with --wine, one sort by the bench host under Wine
// (through the module that --wine-module names in the table) and one more
// by the engine's phases built as that module is, the host started once
// and asked for each sort in turn. The
// machine's speed drifts by the minute; so the figures compared with each
// other are taken seconds apart. Then the patterns full of equal keys
// (patterns.h), N lines each (1,000,000 by default, 0 for none), in their
// modes, each beside the ordinary lines of its mode taken in the same
// rounds; among them the Japanese words and kana names that dictionary
// order is held to code-unit order on. --killer times instead the quicksort on its adversarial input
// order.
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "bench/bench_result.h"
#include "bench/gnu_sort.h"
#include "bench/killer.h"
#include "bench/patterns.h"
#include "bench/targets.h"
#include "bench/wine_client.h"
#include "engine/order_file.h"
#include "engine/platform_native.h"
#include "engine/exact_finish.h"
#include "engine/sort.h"
#include "engine/sort_phases.h"
#include "filter/options.h"

enum { ROUNDS = 5 };

// The record comparison of an order, in the direction asked, handed to f:
// the very comparison SortRecords inlines.
template <typename F>
static void WithCompare(KeyOrder order, const void *keys, const OrderFile *file, bool descending, F f)
{
    WithKeyOrder(order, keys, file, [&](auto o) {
        if (descending)
            f([o](const SortRecord *a, const SortRecord *b) { return o.Compare(b, a); });
        else
            f([o](const SortRecord *a, const SortRecord *b) { return o.Compare(a, b); });
    });
}

// The order file of one sort, as a command starts with it: zero-filled,
// naming the shipped radical-stroke order, which the modes with the order
// file on load.
static OrderFile BenchOrderFile()
{
    OrderFile f;
    memset(&f, 0, sizeof f);
    snprintf(f.path, sizeof f.path, "%s/data/BushuKakusuu.txt", TALLORIX_SOURCE_DIR);
    return f;
}

// FNV-1a, as the Windows bench host hashes its results.
static unsigned long long Hash(const unsigned char *p, size_t n)
{
    unsigned long long h = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < n; i++)
        h = (h ^ p[i]) * 0x100000001B3ull;
    return h;
}

// One sort through the phases, each timed into the best so far; the output
// is checked against a sort by Sort itself on the first round.
static void PhasesRound(const std::vector<Unit16> &text, SortOptions o, Result *r, bool first)
{
    size_t base = NativeLiveBytes();
    NativeResetPeak();
    OrderFile orderFile = BenchOrderFile();
    SortWork w;
    double t0 = Now();
    if (!BeginSort(&w, NULL, text.data(), o, &orderFile))
        Fail("out of memory");
    size_t begun = NativeLiveBytes();
    MakeKeys(&w);
    double t1 = Now();
    if (w.lines < 2 || !MakeLineTable(&w))
        Fail("no line table");
    double t2 = Now();
    size_t tabled = NativeLiveBytes();
    unsigned long finishes = exactFinishCount;
    SortLineTable(&w);
    double t3 = Now();
    r->finished = exactFinishCount != finishes;
    BlockHandle out = WriteOutput(&w);
    double t4 = Now();
    if (!out)
        Fail("out of memory");
    double peak = (NativePeakBytes() - base) / 1048576.0;
    r->peakMib = std::max(r->peakMib, peak);
    r->blockMib = w.blockBytes / 1048576.0;
    r->orderMib = (begun - base - w.blockBytes) / 1048576.0;
    r->tableMib = (tabled - begun) / 1048576.0;
    r->otherMib = r->peakMib - r->blockMib - r->tableMib - r->orderMib;
    r->keys = Min(r->keys, t1 - t0);
    r->table = Min(r->table, t2 - t1);
    r->sort = Min(r->sort, t3 - t2);
    r->output = Min(r->output, t4 - t3);
    r->total = Min(r->total, t4 - t0);
    if (first) {
        OrderFile refOrderFile = BenchOrderFile();
        BlockHandle ref = Sort(NULL, text.data(), o, &refOrderFile);
        ReleaseOrderTable(&refOrderFile);
        if (!ref)
            Fail("out of memory");
        const unsigned char *a = (const unsigned char *)PlatformBlockLock(ref);
        if (memcmp(a, PlatformBlockLock(out), 2 * text.size()))
            Fail("phases and Sort disagree");
        r->hash = Hash(a, 2 * text.size());
        PlatformBlockFree(ref);
    }
    PlatformBlockFree(out);
    ReleaseOrderTable(&orderFile);
}

// The whole sort with the quicksort's guard and without it, one after the
// other, each into the best so far.
static void GuardRound(const std::vector<Unit16> &text, SortOptions o, Result *r)
{
    for (int64_t budget : {(int64_t)-1, GUARD_OFF}) {
        guardBudget = budget;
        OrderFile orderFile = BenchOrderFile();
        double t0 = Now();
        BlockHandle out = Sort(NULL, text.data(), o, &orderFile);
        double ms = Now() - t0;
        guardBudget = -1;
        ReleaseOrderTable(&orderFile);
        if (!out)
            Fail("out of memory");
        PlatformBlockFree(out);
        double *best = budget < 0 ? &r->guardOn : &r->guardOff;
        *best = Min(*best, ms);
    }
}

// The line table as the sort phase receives it, kept apart for the
// references; the key block and the order table stay allocated while they
// run.
struct Prepared {
    OrderFile orderFile;
    SortWork w;
    std::vector<SortRecord> table;
};

static void Prepare(const std::vector<Unit16> &text, SortOptions o, Prepared *p)
{
    p->orderFile = BenchOrderFile();
    if (!BeginSort(&p->w, NULL, text.data(), o, &p->orderFile))
        Fail("out of memory");
    MakeKeys(&p->w);
    if (!MakeLineTable(&p->w))
        Fail("no line table");
    p->table.assign(p->w.table, p->w.table + p->w.lines);
}

static void Unprepare(Prepared *p)
{
    PlatformBlockFree(WriteOutput(&p->w));
    ReleaseOrderTable(&p->orderFile);
}

// std::sort of the table into the best so far, and, when count is set, the
// comparisons the engine's guarded quicksort makes on it, those that rank
// the records for the exact finish included.
static void StdSortRound(const std::vector<Unit16> &text, SortOptions o, Result *r, bool count)
{
    Prepared p;
    Prepare(text, o, &p);
    KeyOrder order = ChooseKeyOrder(p.w.options);
    WithCompare(order, p.w.key, &p.orderFile, o.descending, [&](auto compare) {
        std::vector<SortRecord> t = p.table;
        double t0 = Now();
        std::sort(t.begin(), t.end(),
                  [&](const SortRecord &a, const SortRecord &b) { return compare(&a, &b) < 0; });
        r->stdSort = Min(r->stdSort, Now() - t0);
        if (!count)
            return;
        t = p.table;
        unsigned long long n = 0;
        GuardedQuickSort(
            t.data(), t.size(),
            [&](const SortRecord *a, const SortRecord *b) {
                n++;
                return compare(a, b);
            },
            [](const SortRecord *, const SortRecord *) {});
        r->comparisons = n;
    });
    Unprepare(&p);
}

// --modes A,B,...: only these modes are run; NULL: every mode.
static const char *chosenModes;

static bool ModeChosen(const char *name)
{
    if (!chosenModes)
        return true;
    size_t n = strlen(name);
    for (const char *at = chosenModes; (at = strstr(at, name)) != NULL; at += n)
        if ((at == chosenModes || at[-1] == ',') && (at[n] == 0 || at[n] == ','))
            return true;
    return false;
}

static int ModeIndex(const char *name)
{
    for (int m = 0; m < benchModeCount; m++)
        if (!strcmp(benchModes[m].name, name))
            return m;
    Fail("no such mode");
    return 0;
}

static Result NewResult(const char *mode, const char *pattern, size_t lines)
{
    Result r = {};
    r.mode = mode;
    r.pattern = pattern;
    r.lines = lines;
    r.keys = r.table = r.sort = r.output = r.total = r.stdSort = r.guardOn = r.guardOff = 1e18;
    return r;
}

// Every pattern of n lines in each of its modes, natively and under Wine,
// with the ordinary lines of the mode taken again in the same rounds, so
// that each pattern stands beside them. The ordinary rows go to ordinary.
enum { PATTERN_ROUNDS = 3 };

static void RunPatterns(size_t n, WineHost *host, bool *wineUp, std::vector<Result> *patterns,
                        std::vector<Result> *ordinary)
{
    std::vector<Unit16> plain = MakeBenchText(n, 1);
    std::vector<std::vector<Unit16>> texts;
    for (int p = 0; p < benchPatternCount; p++)
        texts.push_back(MakePatternText(p, n, 1));
    // Every mode in each round, so that the modes too stand side by side.
    std::vector<std::vector<Result>> modeRows(benchPatternModeCount);
    for (int pm = 0; pm < benchPatternModeCount; pm++) {
        const BenchMode &bm = benchModes[ModeIndex(benchPatternModes[pm])];
        modeRows[pm].push_back(NewResult(bm.name, NULL, n));
        for (int p = 0; p < benchPatternCount; p++)
            modeRows[pm].push_back(NewResult(bm.name, benchPatterns[p].name, n));
    }
    for (int round = 0; round < PATTERN_ROUNDS; round++) {
        for (int pm = 0; pm < benchPatternModeCount; pm++) {
            const BenchMode &bm = benchModes[ModeIndex(benchPatternModes[pm])];
            if (!ModeChosen(bm.name))
                continue;
            std::vector<Result> &rows = modeRows[pm];
            for (int p = -1; p < benchPatternCount; p++) {
                if (p >= 0 && !PatternRunsIn(p, bm.name))
                    continue;
                Result *r = &rows[p + 1];
                char option[8];
                if (p >= 0)
                    PatternOptions(p, bm.option, option);
                else
                    snprintf(option, sizeof option, "%s", bm.option);
                SortOptions o = DecodeOptions(option);
                const std::vector<Unit16> &text = p >= 0 ? texts[p] : plain;
                PhasesRound(text, o, r, round == 0);
                if (round == 0)
                    StdSortRound(text, o, r, true);
                if (*wineUp)
                    *wineUp = WineRound(host, r);
            }
        }
        fprintf(stderr, "  patterns %zu, round %d: done\n", n, round + 1);
    }
    for (int pm = 0; pm < benchPatternModeCount; pm++) {
        if (!ModeChosen(modeRows[pm][0].mode))
            continue;
        ordinary->push_back(modeRows[pm][0]);
        for (int p = 0; p < benchPatternCount; p++)
            if (PatternRunsIn(p, modeRows[pm][0].mode))
                patterns->push_back(modeRows[pm][p + 1]);
    }
}

// The killer order through Sort, with std::sort of the same table beside
// it and the comparisons the guarded quicksort makes.
static void RunKiller(const std::vector<size_t> &sizes)
{
    for (size_t n : sizes) {
        std::vector<Unit16> text = MakeKillerText(n);
        SortOptions o = DecodeOptions("000010");
        Result r = NewResult("killer-unicode", "killer", n);
        for (int round = 0; round < ROUNDS; round++) {
            OrderFile orderFile = BenchOrderFile();
            double t0 = Now();
            BlockHandle out = Sort(NULL, text.data(), o, &orderFile);
            r.total = Min(r.total, Now() - t0);
            ReleaseOrderTable(&orderFile);
            if (!out)
                Fail("out of memory");
            PlatformBlockFree(out);
            StdSortRound(text, o, &r, round == 0);
        }
        printf("bench mode=killer-unicode lines=%zu total_ms=%.1f comparisons=%llu std_sort_ms=%.1f\n", n, r.total,
               r.comparisons, r.stdSort);
        fflush(stdout);
    }
}

int main(int argc, char **argv)
{
    std::string wine;
    bool gnu = true, killer = false;
    std::vector<size_t> sizes;
    size_t patternLines = 1000000;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--wine") && i + 1 < argc)
            wine = argv[++i];
        else if (!strcmp(argv[i], "--patterns") && i + 1 < argc)
            patternLines = strtoul(argv[++i], NULL, 10);
        else if (!strcmp(argv[i], "--wine-module") && i + 1 < argc)
            wineModule = argv[++i];
        else if (!strcmp(argv[i], "--modes") && i + 1 < argc)
            chosenModes = argv[++i];
        else if (!strcmp(argv[i], "--no-gnu"))
            gnu = false;
        else if (!strcmp(argv[i], "--killer"))
            killer = true;
        else
            sizes.push_back(strtoul(argv[i], NULL, 10));
    }
    if (sizes.empty())
        sizes = {100000, 1000000};
    if (killer) {
        RunKiller(sizes);
        return 0;
    }
    NativeFillBlocks(false);

    char dir[] = "/tmp/sort_bench.XXXXXX";
    if (!mkdtemp(dir))
        Fail("no temporary folder");

    // A host that died is noticed by its silence, not by a signal.
    signal(SIGPIPE, SIG_IGN);
    WineHost host;
    bool wineUp = !wine.empty() && StartWine(wine, &host);
    std::vector<Result> results;
    for (size_t n : sizes) {
        std::vector<Unit16> text = MakeBenchText(n, 1);
        if (gnu) {
            std::string utf8 = Utf8(text);
            FILE *f = fopen((std::string(dir) + "/input.txt").c_str(), "wb");
            if (!f || fwrite(utf8.data(), 1, utf8.size(), f) != utf8.size() || fclose(f))
                Fail("cannot write the input for GNU sort");
        }
        // Every mode in each round, so that the modes stand side by side.
        std::vector<Result> rows;
        for (int m = 0; m < benchModeCount; m++) {
            Result r = NewResult(benchModes[m].name, NULL, n);
            r.gnu = r.gnuSingle = gnu ? 1e18 : 0;
            r.gnuVersion = gnu && DecodeOptions(benchModes[m].option).numeric ? 1e18 : 0;
            rows.push_back(r);
        }
        for (int round = 0; round < ROUNDS; round++) {
            for (int m = 0; m < benchModeCount; m++) {
                if (!ModeChosen(benchModes[m].name))
                    continue;
                Result &r = rows[m];
                SortOptions o = DecodeOptions(benchModes[m].option);
                PhasesRound(text, o, &r, round == 0);
                GuardRound(text, o, &r);
                StdSortRound(text, o, &r, round == 0);
                if (gnu)
                    GnuSortRound(dir, o, &r);
                if (wineUp)
                    wineUp = WineRound(&host, &r);
            }
            fprintf(stderr, "  %zu lines, round %d: done\n", n, round + 1);
        }
        for (int m = 0; m < benchModeCount; m++) {
            if (!ModeChosen(benchModes[m].name))
                continue;
            Result &r = rows[m];
            if (r.gnu == 1e18 || r.gnuSingle == 1e18)
                r.gnu = r.gnuSingle = -1;
            if (r.gnuVersion == 1e18)
                r.gnuVersion = -1;
            results.push_back(r);
        }
    }
    std::vector<Result> patterns, beside;
    if (patternLines)
        RunPatterns(patternLines, &host, &wineUp, &patterns, &beside);
    if (!wine.empty()) {
        if (wineUp)
            StopWine(&host);
        else
            fprintf(stderr, "sort_bench: the bench host under Wine did not answer\n");
    }
    if (gnu) {
        remove((std::string(dir) + "/input.txt").c_str());
        remove((std::string(dir) + "/output.txt").c_str());
    }
    rmdir(dir);

    PrintTable(results);
    if (!wine.empty()) {
        printf("\n");
        PrintWineTable(results);
    }
    if (!patterns.empty()) {
        printf("\n");
        PrintPatterns(patterns, beside);
    }
    printf("\n");
    PrintDictionary(results, patterns);
    PrintBenchLines(results, patterns, beside);
    CheckTargets(results, patterns, beside);
    return 0;
}
