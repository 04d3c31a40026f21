// In-place edits of the key buffer, which is a NUL-terminated string of
// bytes (code page 932) or of Unit16. LF is left alone by both.
#ifndef TALLORIX_ENGINE_KEY_EDITS_H
#define TALLORIX_ENGINE_KEY_EDITS_H

#include "types.h"

// Each maximal run of TAB and SPACE becomes one SPACE. Returns the new
// length in units.
size_t CollapseBlanksBytes(unsigned char *key);
size_t CollapseBlanksUnits(Unit16 *key);

// a-z becomes A-Z. The byte version steps over both bytes of a double-byte
// character, so a trail byte is never folded.
void FoldCaseBytes(unsigned char *key);
void FoldCaseUnits(Unit16 *key);

#endif
