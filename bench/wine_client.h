// The client of the Windows bench host (wine_bench.cpp) run under Wine:
// one sort per request line, one answer line per sort, over two pipes.
#ifndef TALLORIX_BENCH_WINE_CLIENT_H
#define TALLORIX_BENCH_WINE_CLIENT_H

#include <stdio.h>
#include <sys/types.h>

#include <string>

#include "bench/bench_result.h"

// Which module the Wine column is of: "x86" or "x64", as --wine-module
// names it; "?" when it names none.
extern const char *wineModule;

// The Windows bench host, serving one sort per request.
struct WineHost {
    pid_t pid;
    FILE *requests, *answers;
};

// Starts command through /bin/sh with its standard input and output piped
// to h; false if it could not be started. Exits through Fail when there are
// no pipes.
bool StartWine(const std::string &command, WineHost *h);

// One sort of r's mode, lines and pattern under Wine into the best so far
// of r->wine; r->wineHash takes the first answer's hash, or is made to
// differ from r->hash when a later answer differs from the first. False
// when the host gave no answer, after which it is not asked again.
bool WineRound(WineHost *h, Result *r);

// Closes the pipes, which ends the host, and waits for it.
void StopWine(WineHost *h);

#endif
