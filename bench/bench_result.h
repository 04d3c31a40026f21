// What the sort benchmark's files share: the record of one sort's figures,
// the clock they are taken with, and the way out when a sort cannot run.
#ifndef TALLORIX_BENCH_RESULT_H
#define TALLORIX_BENCH_RESULT_H

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

struct Result {
    const char *mode;
    const char *pattern;                      // NULL: the ordinary lines
    size_t lines;
    double keys, table, sort, output, total;  // best of the rounds each, ms
    double guardOn, guardOff;                 // Sort() whole, with the quicksort's guard and without
    double stdSort;                           // std::sort of the same table
    double gnu, gnuSingle, gnuVersion;        // GNU sort, default, --parallel=1 and -V (numeric modes)
    double wine;                              // end to end through the DLL
    double wineKeys, wineTable, wineSort, wineOutput;  // the engine's phases under Wine
    bool finished;                            // the quicksort ended on ranks
    unsigned long long hash, wineHash;        // of the output text and its NUL
    unsigned long long comparisons;
    double peakMib;
    double blockMib, tableMib, orderMib;  // the key (or output) block, line table, order table
    double otherMib;                      // peak beyond one block, the table and the order table
};

// Milliseconds on the monotonic clock.
inline double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline double Min(double a, double b)
{
    return a < b ? a : b;
}

// Prints "sort_bench: what" to stderr and exits with status 1.
inline void Fail(const char *what)
{
    fprintf(stderr, "sort_bench: %s\n", what);
    exit(1);
}

#endif
