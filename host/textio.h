// The text's way in and out: files or the standard streams, as UTF-8 or as
// raw UTF-16LE code units.
#ifndef TALLORIX_HOST_TEXTIO_H
#define TALLORIX_HOST_TEXTIO_H

#include <stddef.h>

// The whole of the file at path, or of standard input when path is NULL,
// in memory from malloc; *n is its size. name is the path as given, for
// messages. NULL, with the reason said, on failure.
unsigned char *ReadAll(const wchar_t *path, const char *name, size_t *n);

// The n input bytes as NUL-terminated UTF-16 text from malloc. Invalid
// UTF-8, an odd number of bytes in UTF-16, and a NUL anywhere are errors:
// NULL, with the reason and the byte offset said.
wchar_t *InputText(const unsigned char *bytes, size_t n, bool utf16);

// Writes units of text to the file at path (created or truncated), or to
// standard output when path is NULL. False, with the reason said, on
// failure.
bool WriteText(const wchar_t *path, const char *name, const wchar_t *text, size_t units,
               bool utf16);

#endif
