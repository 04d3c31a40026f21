// The sort's phases, in the order Sort runs them. Exposed so that the
// benchmark can time each one and the tests can stop between them; the
// module calls them only through Sort.
#ifndef TALLORIX_ENGINE_SORT_PHASES_H
#define TALLORIX_ENGINE_SORT_PHASES_H

#include "platform.h"
#include "sort_orders.h"

struct SortWork {
    WindowHandle owner;
    const Unit16 *text;
    SortOptions options;  // orderFile cleared when the table did not load
    OrderFile *orderFile; // the command's; loaded here when asked
    size_t length;        // units of text before its NUL
    size_t textLines;     // lines of the text
    size_t blockBytes;    // 2 * length + 4
    BlockHandle keyBlock;
    void *key;            // the key block, locked
    size_t lines;         // lines of the key buffer; 0 if it does not match the text
    SortRecord *table;
};

// Loads the order table into *orderFile if asked, measures the text and
// allocates the key block. False (with the message shown) when memory ran
// out.
bool BeginSort(SortWork *w, WindowHandle owner, const Unit16 *text, SortOptions options, OrderFile *orderFile);

// Fills the key buffer, collapses blanks, folds case and counts the lines.
void MakeKeys(SortWork *w);

// A text of fewer than two lines: the key block with the text, unchanged.
BlockHandle ReturnText(SortWork *w);

// Allocates and fills the line table. False (with the message shown and
// the key block freed) when memory ran out.
bool MakeLineTable(SortWork *w);

void SortLineTable(SortWork *w);

// Writes the lines in table order over the keys and returns their block,
// unlocked: the output. Frees the table.
BlockHandle WriteOutput(SortWork *w);

#endif
