// The whole sort in every mode, phase by phase, beside GNU sort, std::sort
// of the same line table and the Windows build under Wine.
//
//   sort_bench [--wine "RUNNER WINE_BENCH"] [--wine-module x86|x64] [--no-gnu]
//              [--patterns N] [--killer] [LINES...]
//
// LINES defaults to 100000 and 1000000. Each figure is the best of ROUNDS,
// and the rounds of one mode are taken side by side: a native sort, std::sort,
// GNU sort twice and, with --wine, one sort by the bench host under Wine
// (through the module that --wine-module names in the table),
// started once and asked for each sort in turn. The
// machine's speed drifts by the minute; so the figures compared with each
// other are taken seconds apart. Then the patterns full of equal keys
// (patterns.h), N lines each (1,000,000 by default, 0 for none), in four
// modes, each beside the ordinary lines of its mode taken in the same
// rounds. --killer times instead the quicksort on its adversarial input
// order.
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench_data.h"
#include "bench/killer.h"
#include "bench/patterns.h"
#include "engine/order_file.h"
#include "engine/platform_native.h"
#include "engine/exact_finish.h"
#include "engine/sort.h"
#include "engine/sort_phases.h"
#include "filter/options.h"

extern char **environ;

enum { ROUNDS = 5 };

static double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static double Min(double a, double b)
{
    return a < b ? a : b;
}

struct Result {
    const char *mode;
    const char *pattern;                      // NULL: the ordinary lines
    size_t lines;
    double keys, table, sort, output, total;  // best of ROUNDS each, ms
    double guardOn, guardOff;                 // Sort() whole, with the quicksort's guard and without
    double stdSort;                           // std::sort of the same table
    double gnu, gnuSingle, gnuVersion;        // GNU sort, default, --parallel=1 and -V (numeric modes)
    double wine;                              // end to end through the DLL
    bool finished;                            // the quicksort ended on ranks
    unsigned long long hash, wineHash;        // of the output text and its NUL
    unsigned long long comparisons;
    double peakMib;
    double blockMib, tableMib, orderMib;  // the key (or output) block, line table, order table
    double otherMib;                      // peak beyond one block, the table and the order table
};

// The record comparison of an order, in the direction asked, handed to f:
// the very comparison SortRecords inlines.
template <typename F>
static void WithCompare(KeyOrder order, const OrderFile *file, bool descending, F f)
{
    WithKeyOrder(order, file, [&](auto o) {
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

static void Fail(const char *what)
{
    fprintf(stderr, "sort_bench: %s\n", what);
    exit(1);
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
    WithCompare(order, &p.orderFile, o.descending, [&](auto compare) {
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

// The text as UTF-8, as GNU sort reads it.
static std::string Utf8(const std::vector<Unit16> &text)
{
    std::string s;
    for (size_t i = 0; i + 1 < text.size(); i++) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            s += (char)c;
        } else if (c < 0x800) {
            s += (char)(0xC0 | c >> 6);
            s += (char)(0x80 | (c & 63));
        } else if (c < 0x10000) {
            s += (char)(0xE0 | c >> 12);
            s += (char)(0x80 | (c >> 6 & 63));
            s += (char)(0x80 | (c & 63));
        } else {
            s += (char)(0xF0 | c >> 18);
            s += (char)(0x80 | (c >> 12 & 63));
            s += (char)(0x80 | (c >> 6 & 63));
            s += (char)(0x80 | (c & 63));
        }
    }
    return s;
}

// Wall time of a whole process in the C locale; -1 if it failed.
static double TimeCommand(std::vector<std::string> args)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(NULL);
    static char cLocale[] = "LC_ALL=C";
    std::vector<char *> env = {cLocale};
    for (char **e = environ; *e; e++)
        if (strncmp(*e, "LC_ALL=", 7) != 0)
            env.push_back(*e);
    env.push_back(NULL);
    double t0 = Now();
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], NULL, NULL, argv.data(), env.data()) != 0)
        return -1;
    int status;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return Now() - t0;
}

static double MinKnown(double best, double t)
{
    return t < 0 ? best : Min(best, t);
}

// GNU sort's nearest options: -r, -f; blanks and numeric runs have no
// equivalent, so those modes are timed as plain sorts. One run each with
// its default threads and with --parallel=1; in the numeric modes also one
// with -V, its order of numbers within text, the fair reference there.
static void GnuSortRound(const char *dir, SortOptions o, Result *r)
{
    std::string in = std::string(dir) + "/input.txt", out = std::string(dir) + "/output.txt";
    std::vector<std::string> args = {"sort"};
    if (o.descending)
        args.push_back("-r");
    if (o.ignoreCase)
        args.push_back("-f");
    args.push_back(in);
    args.push_back("-o");
    args.push_back(out);
    r->gnu = MinKnown(r->gnu, TimeCommand(args));
    if (o.numeric) {
        args.insert(args.begin() + 1, "-V");
        r->gnuVersion = MinKnown(r->gnuVersion, TimeCommand(args));
        args.erase(args.begin() + 1);
    }
    args.insert(args.begin() + 1, "--parallel=1");
    r->gnuSingle = MinKnown(r->gnuSingle, TimeCommand(args));
}

// Which module the Wine column is of: "x86" or "x64".
static const char *wineModule = "?";

// The Windows bench host, serving one sort per request.
struct WineHost {
    pid_t pid;
    FILE *requests, *answers;
};

static bool StartWine(const std::string &command, WineHost *h)
{
    int in[2], out[2];
    if (pipe(in) || pipe(out))
        Fail("no pipes");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]})
        posix_spawn_file_actions_addclose(&actions, fd);
    std::string c = command;  // argv wants characters it may write
    char sh[] = "/bin/sh", dashC[] = "-c";
    char *argv[] = {sh, dashC, &c[0], NULL};
    int failed = posix_spawn(&h->pid, sh, &actions, NULL, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    h->requests = fdopen(in[1], "w");
    h->answers = fdopen(out[0], "r");
    return !failed && h->requests && h->answers;
}

// One sort under Wine into the best so far; false when the host gave no
// answer, after which it is not asked again.
static bool WineRound(WineHost *h, Result *r)
{
    fprintf(h->requests, "%s %zu %s\n", r->mode, r->lines, r->pattern ? r->pattern : "");
    fflush(h->requests);
    char line[512], mode[64];
    size_t lines;
    double ms;
    unsigned long long hash;
    if (!fgets(line, sizeof line, h->answers))
        return false;
    if (sscanf(line, "wine mode=%63s lines=%zu ms=%lf hash=%llx", mode, &lines, &ms, &hash) != 4) {
        fputs(line, stderr);
        return false;
    }
    if (r->wine == 0)
        r->wineHash = hash;
    else if (hash != r->wineHash)
        r->wineHash = ~r->hash;  // unstable output: reported as wrong
    r->wine = r->wine == 0 ? ms : Min(r->wine, ms);
    return true;
}

static void StopWine(WineHost *h)
{
    fclose(h->requests);
    fclose(h->answers);
    int status;
    waitpid(h->pid, &status, 0);
}

static void PrintTable(const std::vector<Result> &results)
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

// The ordinary lines' result of the same mode and size as r.
static const Result *Ordinary(const std::vector<Result> &results, const Result &r)
{
    for (const Result &u : results)
        if (!u.pattern && u.lines == r.lines && !strcmp(u.mode, r.mode))
            return &u;
    return NULL;
}

static void PrintPatterns(const std::vector<Result> &results, const std::vector<Result> &ordinary)
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

// Plain and numeric modes against GNU sort and std::sort, custom against
// plain units, Wine against native; each pattern within 3 times the
// ordinary lines of its mode, natively and under Wine, and the killer
// order under a second.
static int CheckTargets(const std::vector<Result> &results, const std::vector<Result> &patterns,
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
        bool custom = !strcmp(r.mode, "custom");
        if (!custom && r.gnuSingle > 0 && r.total > r.gnuSingle) {
            printf("target missed: %s total %.1f ms > gnu sort --parallel=1 %.1f ms\n", r.mode, r.total,
                   r.gnuSingle);
            missed++;
        }
        if (!custom && r.sort > 1.5 * r.stdSort) {
            printf("target missed: %s sort %.1f ms > 1.5 x std::sort %.1f ms\n", r.mode, r.sort, r.stdSort);
            missed++;
        }
        if (custom)
            for (const Result &u : results)
                if (u.lines == r.lines && !strcmp(u.mode, "unicode") && r.total > 1.5 * u.total) {
                    printf("target missed: custom %.1f ms > 1.5 x unicode %.1f ms\n", r.total, u.total);
                    missed++;
                }
        if (r.otherMib > 0.05) {
            printf("target missed: %s holds %.1f MiB beyond one block, the table and the order\n", r.mode,
                   r.otherMib);
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
        if (r.wine > 0 && o->wine > 0 && r.wine > 3 * o->wine) {
            printf("target missed: %s %s wine %.1f ms > 3 x ordinary %.1f ms\n", r.mode, r.pattern, r.wine,
                   o->wine);
            missed++;
        }
        if (!strcmp(r.pattern, "killer") && r.lines >= 1000000 && r.total >= 1000) {
            printf("target missed: %s killer %.1f ms, not under a second\n", r.mode, r.total);
            missed++;
        }
    }
    if (!missed)
        printf("targets met\n");
    return missed;
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
    for (int pm = 0; pm < benchPatternModeCount; pm++) {
        const BenchMode &bm = benchModes[ModeIndex(benchPatternModes[pm])];
        std::vector<Result> rows;
        rows.push_back(NewResult(bm.name, NULL, n));
        for (int p = 0; p < benchPatternCount; p++)
            rows.push_back(NewResult(bm.name, benchPatterns[p].name, n));
        for (int round = 0; round < PATTERN_ROUNDS; round++) {
            for (int p = -1; p < benchPatternCount; p++) {
                if (p >= 0 && !PatternRunsIn(p, bm.name))
                    continue;
                Result *r = &rows[p + 1];
                char option[7];
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
        ordinary->push_back(rows[0]);
        for (int p = 0; p < benchPatternCount; p++)
            if (PatternRunsIn(p, bm.name))
                patterns->push_back(rows[p + 1]);
        fprintf(stderr, "  patterns in %s %zu: done\n", bm.name, n);
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
        for (int m = 0; m < benchModeCount; m++) {
            Result r = NewResult(benchModes[m].name, NULL, n);
            SortOptions o = DecodeOptions(benchModes[m].option);
            r.gnu = r.gnuSingle = gnu ? 1e18 : 0;
            r.gnuVersion = gnu && o.numeric ? 1e18 : 0;
            for (int round = 0; round < ROUNDS; round++) {
                PhasesRound(text, o, &r, round == 0);
                GuardRound(text, o, &r);
                StdSortRound(text, o, &r, round == 0);
                if (gnu)
                    GnuSortRound(dir, o, &r);
                if (wineUp)
                    wineUp = WineRound(&host, &r);
            }
            if (r.gnu == 1e18 || r.gnuSingle == 1e18)
                r.gnu = r.gnuSingle = -1;
            if (r.gnuVersion == 1e18)
                r.gnuVersion = -1;
            results.push_back(r);
            fprintf(stderr, "  %s %zu: %.1f ms\n", r.mode, n, r.total);
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
    if (!patterns.empty()) {
        printf("\n");
        PrintPatterns(patterns, beside);
    }
    for (const Result &r : results)
        printf("bench mode=%s lines=%zu total_ms=%.1f keys_ms=%.1f table_ms=%.1f sort_ms=%.1f output_ms=%.1f "
               "guard_on_ms=%.1f guard_off_ms=%.1f std_sort_ms=%.1f gnu_sort_ms=%.1f gnu_sort_p1_ms=%.1f "
               "gnu_sort_v_ms=%.1f wine_module=%s wine_ms=%.1f comparisons=%llu peak_mib=%.1f block_mib=%.1f "
               "table_mib=%.1f order_mib=%.1f other_mib=%.1f exact=%d\n",
               r.mode, r.lines, r.total, r.keys, r.table, r.sort, r.output, r.guardOn, r.guardOff, r.stdSort,
               r.gnu, r.gnuSingle, r.gnuVersion, wineModule, r.wine, r.comparisons, r.peakMib, r.blockMib,
               r.tableMib, r.orderMib, r.otherMib, r.finished);
    for (const Result &r : patterns) {
        const Result *o = Ordinary(beside, r);
        printf("bench pattern=%s mode=%s lines=%zu total_ms=%.1f ordinary_ms=%.1f wine_module=%s wine_ms=%.1f "
               "wine_ordinary_ms=%.1f comparisons=%llu peak_mib=%.1f finish_mib=%.1f exact=%d\n",
               r.pattern, r.mode, r.lines, r.total, o->total, wineModule, r.wine, o->wine, r.comparisons,
               r.peakMib, r.otherMib, r.finished);
    }
    CheckTargets(results, patterns, beside);
    return 0;
}
