// Inputs full of equal keys, and orders that are hard on a quicksort: the
// same from the native and the Windows build, for the benchmark and the
// tests of the quicksort's guard.
#ifndef TALLORIX_BENCH_PATTERNS_H
#define TALLORIX_BENCH_PATTERNS_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

struct BenchPattern {
    const char *name;
    int option;        // the option turned on beside the mode's (-1: none): 2 is ignore case
    const char *mode;  // the bench modes it is sorted in, names apart by spaces; NULL: each of
                       // benchPatternModes but those of the others
};

extern const BenchPattern benchPatterns[];
extern const int benchPatternCount;

// The bench modes that patterns are sorted in, each beside the ordinary
// lines of the mode: the five every pattern without modes of its own is
// sorted in, then the modes of the others. The custom mode's order file is
// data/BushuKakusuu.txt.
extern const char *const benchPatternModes[];
extern const int benchPatternModeCount;

// Whether pattern p is sorted in the bench mode of that name.
bool PatternRunsIn(int p, const char *mode);

// NUL-terminated UTF-16 text of the given number of lines of pattern p,
// each ended by LF; seed varies the patterns drawn at random.
std::vector<uint16_t> MakePatternText(int p, size_t lines, uint64_t seed);

// The option string of a mode (six or seven digits) with the pattern's option
// on.
void PatternOptions(int p, const char *mode, char out[8]);

#endif
