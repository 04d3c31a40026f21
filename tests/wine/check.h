// A minimal harness for the programs that run under Wine: CHECK records a
// failure with its line and goes on; the summary line is the last output.
#ifndef TALLORIX_TESTS_WINE_CHECK_H
#define TALLORIX_TESTS_WINE_CHECK_H

#include <stdio.h>

static int checksPassed, checksFailed;

#define CHECK(cond, ...)                                                 \
    do {                                                                 \
        if (cond) {                                                      \
            checksPassed++;                                              \
        } else {                                                         \
            checksFailed++;                                              \
            fprintf(stderr, "%s:%d: failed: %s: ", __FILE__, __LINE__, #cond); \
            fprintf(stderr, __VA_ARGS__);                                \
            fputc('\n', stderr);                                         \
        }                                                                \
    } while (0)

static int CheckSummary()
{
    printf("%d passed, %d failed\n", checksPassed, checksFailed);
    return checksFailed ? 1 : 0;
}

#endif
