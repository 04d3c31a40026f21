#include "options.h"

SortOptions DecodeOptions(const char *option)
{
    SortOptions o;
    o.descending = option[0] == '1';
    o.collapseBlanks = option[1] == '1';
    o.ignoreCase = option[2] == '1';
    o.numeric = option[3] == '1';
    o.unicode = option[4] == '1';
    o.orderFile = option[5] == '1';
    return o;
}
