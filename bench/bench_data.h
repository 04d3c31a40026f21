// The benchmark's inputs, the same from the native and the Windows build:
// seeded lines of Japanese words, ASCII words with numbers and file names,
// some ended by CR LF, and the modes they are sorted in.
#ifndef TALLORIX_BENCH_DATA_H
#define TALLORIX_BENCH_DATA_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

struct BenchMode {
    const char *name;
    const char *option;  // the option string, six or seven digits
};

extern const BenchMode benchModes[];
extern const int benchModeCount;

// A number below below from the splitmix64 sequence of *state: the same
// numbers on every compiler.
uint32_t SplitMix(uint64_t *state, uint32_t below);

// NUL-terminated UTF-16 text of the given number of lines, each ended by LF.
std::vector<uint16_t> MakeBenchText(size_t lines, uint64_t seed);

#endif
