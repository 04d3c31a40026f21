// UTF-8 to UTF-16 and back, for the text and the messages of the host.
#ifndef TALLORIX_HOST_UTF8_H
#define TALLORIX_HOST_UTF8_H

#include <stddef.h>

// Decodes n bytes of strict UTF-8 into out, which holds at least n units.
// Overlong forms, encoded surrogates, values above U+10FFFF, stray or
// missing continuation bytes are errors. Returns the number of units, or
// -1 with *bad set to the offset of the first byte of the faulty sequence.
long DecodeUtf8(const unsigned char *s, size_t n, wchar_t *out, size_t *bad);

// Encodes n UTF-16 units into out, which holds at least 3 * n bytes. A
// surrogate pair becomes one 4-byte sequence; a lone surrogate keeps its
// value in the 3-byte form, so nothing is lost. Returns the bytes written.
size_t EncodeUtf8(const wchar_t *s, size_t n, unsigned char *out);

// A NUL-terminated string's UTF-8 form in memory from malloc; NULL when
// out of memory.
char *Utf8Dup(const wchar_t *s);

#endif
