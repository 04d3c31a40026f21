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

// Sets an empty DACL on the settings key, so that opening it for all
// access fails, or gives the default one back.
static void DenySettingsKey(bool deny)
{
    HKEY key;
    if (deny) {
        key = OpenSettingsKey();
    } else if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, WRITE_DAC, &key) != ERROR_SUCCESS) {
        return;
    }
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ACL acl;
    InitializeAcl(&acl, sizeof acl, ACL_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, deny ? &acl : NULL, FALSE);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
    RegCloseKey(key);
}

#endif
