// Edits that make the key buffer, a NUL-terminated string of bytes (code
// page 932) or of Unit16: each maximal run of TAB and SPACE becomes one
// SPACE, and a-z becomes A-Z. LF is left alone by both.
#ifndef TALLORIX_ENGINE_KEY_EDITS_H
#define TALLORIX_ENGINE_KEY_EDITS_H

#include "types.h"

// Collapses the blanks of a byte key in place. Returns the new length.
size_t CollapseBlanksBytes(unsigned char *key);

// Folds the case of a byte key in place, stepping over both bytes of a
// double-byte character, so that a trail byte is never folded.
void FoldCaseBytes(unsigned char *key);

// The unit key buffer of a text: the text copied with its blanks collapsed
// and its case folded as asked, in one pass over memory that the command
// touches for the first time. key has room for the text and its NUL.
void CopyEditedUnits(Unit16 *key, const Unit16 *text, bool collapseBlanks, bool ignoreCase);

#endif
