// The option string's positions, in one table: the flag each one sets and
// the options dialog's control that shows it. Decoding, the dialog and the
// tests all read it, so that a new option is a row here plus what it does.
//
//   position  flag            control
//   0         descending      IDC_DESCENDING (radio; IDC_ASCENDING when off)
//   1         collapseBlanks  IDC_COLLAPSE_BLANKS
//   2         ignoreCase      IDC_IGNORE_CASE
//   3         numeric         IDC_NUMERIC
//   4         unicode         IDC_UNICODE
//   5         orderFile       IDC_ORDER_FILE
//   6         dictionary      IDC_DICTIONARY
//
// A position is on when its byte is the digit 1. The first six are read
// whatever the string's length, as they always were: behind a shorter
// string's NUL, the bytes there decide. A later position counts only
// within the string, so that bytes behind the NUL of a six-digit string
// stored before it existed never turn it on. The string is stored as it is
// in the registry value Parameter.
#ifndef TALLORIX_FILTER_OPTION_TABLE_H
#define TALLORIX_FILTER_OPTION_TABLE_H

#include "../engine/types.h"
#include "../res/resource.h"

enum {
    OPTION_FIXED_LENGTH = 6,   // positions read whatever the string's length
    OPTION_STRING_LENGTH = 7,  // every position
};

struct OptionPosition {
    bool SortOptions::*flag;
    int control;  // checked when the flag is on
};

static const OptionPosition optionPositions[OPTION_STRING_LENGTH] = {
    {&SortOptions::descending, IDC_DESCENDING},
    {&SortOptions::collapseBlanks, IDC_COLLAPSE_BLANKS},
    {&SortOptions::ignoreCase, IDC_IGNORE_CASE},
    {&SortOptions::numeric, IDC_NUMERIC},
    {&SortOptions::unicode, IDC_UNICODE},
    {&SortOptions::orderFile, IDC_ORDER_FILE},
    {&SortOptions::dictionary, IDC_DICTIONARY},
};

#endif
