#include "options.h"

SortOptions DecodeOptions(const char *option)
{
    SortOptions o = {};
    bool inside = true;  // no NUL before position k
    for (int k = 0; k < OPTION_STRING_LENGTH; k++) {
        if (k >= OPTION_FIXED_LENGTH && !inside)
            break;
        o.*optionPositions[k].flag = option[k] == '1';
        inside = inside && option[k];
    }
    return o;
}

void EncodeOptions(SortOptions o, char *out)
{
    for (int k = 0; k < OPTION_STRING_LENGTH; k++)
        out[k] = o.*optionPositions[k].flag ? '1' : '0';
    out[OPTION_STRING_LENGTH] = 0;
}
