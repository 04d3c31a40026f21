// An input order that drives the engine's quicksort towards n^2 / 4
// comparisons, made by running the sort itself against an adversary.
#ifndef TALLORIX_BENCH_KILLER_H
#define TALLORIX_BENCH_KILLER_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

// NUL-terminated UTF-16 text of n lines, each a zero-padded decimal number,
// in the killer order. comparisons, when given, receives the number the
// sort makes on it.
std::vector<uint16_t> MakeKillerText(size_t n, unsigned long long *comparisons);

#endif
