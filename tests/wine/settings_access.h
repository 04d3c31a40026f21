// The module's settings key as the tests set and read it.
#ifndef TALLORIX_TESTS_WINE_SETTINGS_ACCESS_H
#define TALLORIX_TESTS_WINE_SETTINGS_ACCESS_H

#include <windows.h>

#include <string.h>
#include <string>

#include "filter/settings_key.h"

static HKEY OpenSettingsKey()
{
    HKEY key = NULL;
    RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    return key;
}

// Stores the bytes as a value of the given type; NULL data deletes it.
static void SetValue(const char *name, DWORD type, const void *data, DWORD bytes)
{
    HKEY key = OpenSettingsKey();
    if (data)
        RegSetValueExA(key, name, 0, type, (const BYTE *)data, bytes);
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

static void SetString(const char *name, const char *value)
{
    SetValue(name, REG_SZ, value, value ? (DWORD)strlen(value) + 1 : 0);
}

// The stored string, or "<missing>", or "<type N>".
static std::string GetString(const char *name)
{
    HKEY key = OpenSettingsKey();
    char data[1024] = {0};
    DWORD type = 0, bytes = sizeof data - 1;
    LONG r = RegQueryValueExA(key, name, NULL, &type, (BYTE *)data, &bytes);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS)
        return "<missing>";
    if (type != REG_SZ)
        return "<type " + std::to_string(type) + ">";
    return std::string(data);
}

#endif
