// The whole sort in every mode, phase by phase, beside GNU sort, std::sort
// of the same line table and the Windows build under Wine.
//
//   sort_bench [--wine "RUNNER WINE_BENCH"] [--wine-module x86|x64] [--no-gnu] [--killer]
//              [LINES...]
//
// LINES defaults to 100000 and 1000000. Each figure is the best of ROUNDS,
// and the rounds of one mode are taken side by side: a native sort, std::sort,
// GNU sort twice and, with --wine, one sort by the bench host under Wine
// (through the module that --wine-module names in the table),
// started once and asked for each sort in turn. The
// machine's speed drifts by the minute; so the figures compared with each
// other are taken seconds apart. --killer times instead the quicksort on its
// adversarial input order.
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
#include "engine/order.h"
#include "engine/platform_native.h"
#include "engine/quicksort.h"
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
    size_t lines;
    double keys, table, sort, output, total;  // best of ROUNDS each, ms
    double stdSort;                           // std::sort of the same table
    double gnu, gnuSingle;                    // GNU sort, default and --parallel=1
    double wine;                              // end to end through the DLL
    unsigned long long hash, wineHash;        // of the output text and its NUL
    unsigned long long comparisons;
    double peakMib;
    double blockMib, tableMib, orderMib;  // the key (or output) block, line table, order table
    double otherMib;                      // peak beyond one block, the table and the order table
};

// The record comparator of an order, in a direction fixed at compile time,
// handed to f: the very comparison SortRecords inlines.
template <bool Desc, typename F>
static void WithCompare(KeyOrder order, F f)
{
#define HAND(compare)                                                                    \
    f([](const SortRecord *a, const SortRecord *b) { return Desc ? compare(b, a) : compare(a, b); })
    switch (order) {
    case ORDER_BYTES: HAND(ComparePlainRecords<unsigned char>); break;
    case ORDER_UNITS: HAND(ComparePlainRecords<Unit16>); break;
    case ORDER_NUMERIC_BYTES: HAND(CompareNumericRecords<unsigned char>); break;
    case ORDER_NUMERIC_UNITS: HAND(CompareNumericRecords<Unit16>); break;
    case ORDER_CUSTOM: HAND(CompareCustomRecords); break;
    }
#undef HAND
}

template <typename F>
static void WithCompare(KeyOrder order, bool descending, F f)
{
    if (descending)
        WithCompare<true>(order, f);
    else
        WithCompare<false>(order, f);
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
    SortWork w;
    double t0 = Now();
    if (!BeginSort(&w, NULL, text.data(), o))
        Fail("out of memory");
    size_t begun = NativeLiveBytes();
    MakeKeys(&w);
    double t1 = Now();
    if (w.lines < 2 || !MakeLineTable(&w))
        Fail("no line table");
    double t2 = Now();
    size_t tabled = NativeLiveBytes();
    SortLineTable(&w);
    double t3 = Now();
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
        BlockHandle ref = Sort(NULL, text.data(), o);
        if (!ref)
            Fail("out of memory");
        const unsigned char *a = (const unsigned char *)PlatformBlockLock(ref);
        if (memcmp(a, PlatformBlockLock(out), 2 * text.size()))
            Fail("phases and Sort disagree");
        r->hash = Hash(a, 2 * text.size());
        PlatformBlockFree(ref);
    }
    PlatformBlockFree(out);
    ReleaseOrderTable();
}

// The line table as the sort phase receives it, kept apart for the
// references; the key block stays allocated while they run.
struct Prepared {
    SortWork w;
    std::vector<SortRecord> table;
};

static void Prepare(const std::vector<Unit16> &text, SortOptions o, Prepared *p)
{
    if (!BeginSort(&p->w, NULL, text.data(), o))
        Fail("out of memory");
    MakeKeys(&p->w);
    if (!MakeLineTable(&p->w))
        Fail("no line table");
    p->table.assign(p->w.table, p->w.table + p->w.lines);
}

static void Unprepare(Prepared *p)
{
    PlatformBlockFree(WriteOutput(&p->w));
    ReleaseOrderTable();
}

// std::sort of the table into the best so far, and, when count is set, the
// comparisons the engine's quicksort makes on it.
static void StdSortRound(const std::vector<Unit16> &text, SortOptions o, Result *r, bool count)
{
    Prepared p;
    Prepare(text, o, &p);
    KeyOrder order = ChooseKeyOrder(p.w.options);
    WithCompare(order, o.descending, [&](auto compare) {
        std::vector<SortRecord> t = p.table;
        double t0 = Now();
        std::sort(t.begin(), t.end(),
                  [&](const SortRecord &a, const SortRecord &b) { return compare(&a, &b) < 0; });
        r->stdSort = Min(r->stdSort, Now() - t0);
        if (!count)
            return;
        t = p.table;
        unsigned long long n = 0;
        QuickSortRecords(t.data(), t.size(), [&](const SortRecord *a, const SortRecord *b) {
            n++;
            return compare(a, b);
        });
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
// its default threads and with --parallel=1.
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
    fprintf(h->requests, "%s %zu\n", r->mode, r->lines);
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
    printf("%-21s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s %11s %7s\n", "mode", "lines", "keys", "table",
           "sort", "output", "total", "std::sort", "gnu", "gnu -p1", wine, "comparisons", "peakMiB");
    for (const Result &r : results)
        printf("%-21s %8zu %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %11llu %7.1f\n", r.mode,
               r.lines, r.keys, r.table, r.sort, r.output, r.total, r.stdSort, r.gnu, r.gnuSingle, r.wine,
               r.comparisons, r.peakMib);
}

// Plain and numeric modes against GNU sort and std::sort, custom against
// plain units, Wine against native.
static int CheckTargets(const std::vector<Result> &results)
{
    int missed = 0;
    for (const Result &r : results) {
        if (r.wine > 0 && r.wineHash != r.hash) {
            printf("wrong result: %s %zu lines through the %s module differs from the native sort\n", r.mode,
                   r.lines, wineModule);
            missed++;
        }
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
    if (!missed)
        printf("targets met\n");
    return missed;
}

// The killer order, sorted once (the time is quadratic), with std::sort of
// the same table beside it. Comparisons are counted up to COUNT_LIMIT lines;
// beyond, counting would take as long again.
enum { COUNT_LIMIT = 200000 };

static void RunKiller(const std::vector<size_t> &sizes)
{
    for (size_t n : sizes) {
        std::vector<Unit16> text = MakeKillerText(n);
        SortOptions o = DecodeOptions("000010");
        double t0 = Now();
        BlockHandle out = Sort(NULL, text.data(), o);
        double ms = Now() - t0;
        if (!out)
            Fail("out of memory");
        PlatformBlockFree(out);
        Result r = {};
        r.stdSort = 1e18;
        for (int round = 0; round < ROUNDS; round++)
            StdSortRound(text, o, &r, round == 0 && n <= COUNT_LIMIT);
        char counted[48] = "";
        if (n <= COUNT_LIMIT)
            snprintf(counted, sizeof counted, " comparisons=%llu", r.comparisons);
        printf("bench mode=killer-unicode lines=%zu total_ms=%.1f%s std_sort_ms=%.1f\n", n, ms, counted,
               r.stdSort);
        fflush(stdout);
    }
}

int main(int argc, char **argv)
{
    std::string wine;
    bool gnu = true, killer = false;
    std::vector<size_t> sizes;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--wine") && i + 1 < argc)
            wine = argv[++i];
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
    snprintf(orderFilePath, ORDER_PATH_SIZE, "%s/data/BushuKakusuu.txt", TALLORIX_SOURCE_DIR);
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
            Result r = {};
            r.mode = benchModes[m].name;
            r.lines = n;
            r.keys = r.table = r.sort = r.output = r.total = r.stdSort = 1e18;
            r.gnu = r.gnuSingle = gnu ? 1e18 : 0;
            SortOptions o = DecodeOptions(benchModes[m].option);
            for (int round = 0; round < ROUNDS; round++) {
                PhasesRound(text, o, &r, round == 0);
                StdSortRound(text, o, &r, round == 0);
                if (gnu)
                    GnuSortRound(dir, o, &r);
                if (wineUp)
                    wineUp = WineRound(&host, &r);
            }
            if (r.gnu == 1e18 || r.gnuSingle == 1e18)
                r.gnu = r.gnuSingle = -1;
            results.push_back(r);
            fprintf(stderr, "  %s %zu: %.1f ms\n", r.mode, n, r.total);
        }
    }
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
    for (const Result &r : results)
        printf("bench mode=%s lines=%zu total_ms=%.1f keys_ms=%.1f table_ms=%.1f sort_ms=%.1f output_ms=%.1f "
               "std_sort_ms=%.1f gnu_sort_ms=%.1f gnu_sort_p1_ms=%.1f wine_module=%s wine_ms=%.1f comparisons=%llu "
               "peak_mib=%.1f block_mib=%.1f table_mib=%.1f order_mib=%.1f other_mib=%.1f\n",
               r.mode, r.lines, r.total, r.keys, r.table, r.sort, r.output, r.stdSort, r.gnu, r.gnuSingle,
               wineModule, r.wine, r.comparisons, r.peakMib, r.blockMib, r.tableMib, r.orderMib, r.otherMib);
    CheckTargets(results);
    return 0;
}
