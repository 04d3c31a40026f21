#include "options.h"

SortOptions DecodeOptions(const char *option)
{
    SortOptions o = {};
    for (int k = 0; k < OPTION_STRING_LENGTH; k++)
        o.*optionPositions[k].flag = option[k] == '1';
    return o;
}

void EncodeOptions(SortOptions o, char *out)
{
    for (int k = 0; k < OPTION_STRING_LENGTH; k++)
        out[k] = o.*optionPositions[k].flag ? '1' : '0';
    out[OPTION_STRING_LENGTH] = 0;
}
