// What the sort benchmark reports of its results: the tables, the "bench"
// lines of keys and figures, and the targets each result must meet.
#ifndef TALLORIX_BENCH_TARGETS_H
#define TALLORIX_BENCH_TARGETS_H

#include <vector>

#include "bench/bench_result.h"

// The table of the ordinary lines in every mode, one row each, with its
// header.
void PrintTable(const std::vector<Result> &results);

// The Wine rows of results: the module whole and the engine's phases,
// beside GNU sort and its ratio to GNU sort (-V in the numeric modes).
void PrintWineTable(const std::vector<Result> &results);

// The ordinary lines' result of the same mode and size as r; NULL if
// results holds none.
const Result *Ordinary(const std::vector<Result> &results, const Result &r);

// The table of the patterns, each row beside the ordinary lines of its mode
// in ordinary, with its header; a pattern without them is left out.
void PrintPatterns(const std::vector<Result> &results, const std::vector<Result> &ordinary);

// Dictionary order beside UTF-16 order on the same lines, taken in the same
// rounds: the ordinary lines, the Japanese words and the kana names, time
// natively and under Wine and peak memory.
void PrintDictionary(const std::vector<Result> &results, const std::vector<Result> &patterns);

// One "bench mode=..." line of every figure for each result, then one
// "bench pattern=..." line for each pattern, beside its ordinary lines in
// beside, which must hold them.
void PrintBenchLines(const std::vector<Result> &results, const std::vector<Result> &patterns,
                     const std::vector<Result> &beside);

// Plain and numeric modes against GNU sort and std::sort, custom against
// plain units, dictionary order against plain units in time and memory (on
// the ordinary lines, the Japanese words and the kana names), Wine against
// native; each pattern within 3 times the
// ordinary lines of its mode, natively and under Wine, and the killer
// order under a second. Prints a line for each target missed, or "targets
// met"; returns the number missed.
int CheckTargets(const std::vector<Result> &results, const std::vector<Result> &patterns,
                 const std::vector<Result> &beside);

#endif
