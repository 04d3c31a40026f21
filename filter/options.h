// The option string: each position on when its byte is the digit 1
// (option_table.h lists them).
#ifndef TALLORIX_FILTER_OPTIONS_H
#define TALLORIX_FILTER_OPTIONS_H

#include "../engine/types.h"
#include "option_table.h"

// Tests the first six bytes whatever the string's length (bytes behind a
// shorter string's NUL decide the later of those flags), and the seventh
// only where the six before it hold no NUL. Reads at most seven bytes,
// and the seventh only within the string.
SortOptions DecodeOptions(const char *option);

// Writes the seven digits of o and a NUL into out.
void EncodeOptions(SortOptions o, char *out);

#endif
