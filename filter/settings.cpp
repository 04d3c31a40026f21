#include "settings.h"

#include <string.h>

HKEY OpenSettings()
{
    HKEY key;
    DWORD disposition;
    LONG r = RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, NULL, &key, &disposition);
    return r == ERROR_SUCCESS ? key : NULL;
}

void ReadSetting(HKEY key, const char *name, char *buffer, DWORD size)
{
    if (size == 0)
        return;
    DWORD type = 0, got = size;
    LONG r = RegQueryValueExA(key, name, NULL, &type, (BYTE *)buffer, &got);
    if (r == ERROR_MORE_DATA || (r == ERROR_SUCCESS && got > size)) {
        memset(buffer, 0, size);  // part of a value too long may be there
        return;
    }
    if (r != ERROR_SUCCESS) {
        buffer[0] = 0;  // missing or unreadable: nothing was written
        return;
    }
    if (type != REG_SZ) {
        memset(buffer, 0, got);
        buffer[0] = 0;  // got may be 0
        return;
    }
    // The system does not promise a NUL: a string stored without one is
    // ended here, unless it fills the buffer, when it is cut short and so
    // counts as missing.
    if (memchr(buffer, 0, got) == NULL) {
        if (got < size)
            buffer[got] = 0;
        else
            memset(buffer, 0, size);
    }
}

void WriteSetting(HKEY key, const char *name, const char *value)
{
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1);
}
