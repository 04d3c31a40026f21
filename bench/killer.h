// An input order that drives the engine's quicksort to about n^2 / 2
// comparisons.
#ifndef TALLORIX_BENCH_KILLER_H
#define TALLORIX_BENCH_KILLER_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

// NUL-terminated UTF-16 text of n lines, each a zero-padded decimal number,
// in the killer order.
std::vector<uint16_t> MakeKillerText(size_t n);

#endif
