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
    // A string read whole holds its NUL; anything else counts as missing.
    if (r != ERROR_SUCCESS || type != REG_SZ || got == 0 || got > size ||
        memchr(buffer, 0, got) == NULL)
        memset(buffer, 0, size);
}

void WriteSetting(HKEY key, const char *name, const char *value)
{
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)strlen(value) + 1);
}
