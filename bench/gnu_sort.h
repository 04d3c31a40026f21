// GNU sort, timed on the benchmark's ordinary lines beside the engine.
#ifndef TALLORIX_BENCH_GNU_SORT_H
#define TALLORIX_BENCH_GNU_SORT_H

#include <string>
#include <vector>

#include "bench/bench_result.h"
#include "engine/types.h"

// The NUL-terminated text, its NUL dropped, as UTF-8, as GNU sort reads it;
// a surrogate pair becomes one character.
std::string Utf8(const std::vector<Unit16> &text);

// GNU sort of dir/input.txt into dir/output.txt in the C locale, with the
// options nearest to o, into the best so far of r->gnu, r->gnuSingle and,
// in the numeric modes, r->gnuVersion. A run that fails leaves its figure
// as it was.
void GnuSortRound(const char *dir, SortOptions o, Result *r);

#endif
