// The settings kept under HKEY_CURRENT_USER.
#ifndef TALLORIX_FILTER_SETTINGS_H
#define TALLORIX_FILTER_SETTINGS_H

#include <windows.h>

#include "settings_key.h"

// Opens the settings key, creating it when missing; NULL on failure.
HKEY OpenSettings();

// Reads a string value into buffer of size bytes. A value that is missing,
// not REG_SZ, or too long for the buffer with its NUL leaves the buffer
// empty; a shorter one stored without its NUL is ended after its bytes.
// The result is always a NUL-terminated string within size. Of the bytes
// behind it, only those the read may have written are cleared: the rest
// are the caller's, as they were.
void ReadSetting(HKEY key, const char *name, char *buffer, DWORD size);

// Writes a REG_SZ value, its NUL counted in the stored length.
void WriteSetting(HKEY key, const char *name, const char *value);

#endif
