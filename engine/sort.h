// The line sort: the host's UTF-16 text in, the sorted text out in a new
// moveable block.
#ifndef TALLORIX_ENGINE_SORT_H
#define TALLORIX_ENGINE_SORT_H

#include "order_file.h"
#include "platform.h"
#include "types.h"

// A moveable block of the given size, or null after the out-of-memory
// message has been shown to owner.
BlockHandle AllocateBlock(size_t bytes, WindowHandle owner);

// Sorts the lines of text (NUL-terminated, lines ended by LF). The result
// holds every line followed by LF, then a NUL, in a block of 2n + 4 bytes
// for a text of n units; a text of fewer than two lines comes back as it
// was. Null when memory ran out (the message has been shown). With
// options.orderFile the table is loaded into *orderFile, which the caller
// releases.
BlockHandle Sort(WindowHandle owner, const Unit16 *text, SortOptions options, OrderFile *orderFile);

#endif
