// The option string: six bytes, each on when it is the digit 1.
#ifndef TALLORIX_FILTER_OPTIONS_H
#define TALLORIX_FILTER_OPTIONS_H

#include "../engine/types.h"

enum { OPTION_STRING_LENGTH = 6 };

// Tests the first six bytes whatever the string's length: bytes behind a
// shorter string's NUL decide the later flags.
SortOptions DecodeOptions(const char *option);

#endif
