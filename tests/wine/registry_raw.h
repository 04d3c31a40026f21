// The settings values byte for byte: as stored (the wide view), so that a
// value can be compared before and after a command and put back exactly,
// and as the ANSI view the module reads.
#ifndef TALLORIX_TESTS_WINE_REGISTRY_RAW_H
#define TALLORIX_TESTS_WINE_REGISTRY_RAW_H

#include <windows.h>

#include <string>
#include <vector>

#include "settings_access.h"

struct RawValue {
    bool present;
    DWORD type;
    std::string data;  // the stored bytes; strings as UTF-16
};

static RawValue ReadRaw(const char *name)
{
    RawValue v = {false, 0, ""};
    WCHAR wide[64];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 64);
    HKEY key = OpenSettingsKey();
    DWORD bytes = 0;
    if (RegQueryValueExW(key, wide, NULL, &v.type, NULL, &bytes) == ERROR_SUCCESS) {
        std::vector<BYTE> data(bytes + 1);
        if (RegQueryValueExW(key, wide, NULL, &v.type, data.data(), &bytes) == ERROR_SUCCESS) {
            v.present = true;
            v.data.assign((const char *)data.data(), bytes);
        }
    }
    RegCloseKey(key);
    return v;
}

// The registry counts in a NUL that the caller left out when one follows
// the data, so the data is written from a copy followed by non-zero bytes.
static void WriteRaw(const char *name, const RawValue &v)
{
    if (!v.present) {
        SetValue(name, REG_SZ, NULL, 0);
        return;
    }
    WCHAR wide[64];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 64);
    std::string copy = v.data + "\x7F\x7F\x7F\x7F";
    HKEY key = OpenSettingsKey();
    RegSetValueExW(key, wide, 0, v.type, (const BYTE *)copy.data(), (DWORD)v.data.size());
    RegCloseKey(key);
}

// Stores exactly these bytes through the ANSI function.
static void WriteAnsi(const char *name, DWORD type, const std::string &data)
{
    std::string copy = data + "\x7F\x7F";
    SetValue(name, type, copy.data(), (DWORD)data.size());
}

// Stores exactly these bytes through the wide function.
static void WriteWide(const char *name, DWORD type, const std::string &data)
{
    WriteRaw(name, RawValue{true, type, data});
}

// The ANSI view: type and bytes as RegQueryValueExA reports them.
struct AnsiValue {
    bool present;
    DWORD type;
    std::string data;
};

static AnsiValue ReadAnsi(const char *name)
{
    AnsiValue v = {false, 0, ""};
    HKEY key = OpenSettingsKey();
    DWORD bytes = 0;
    if (RegQueryValueExA(key, name, NULL, &v.type, NULL, &bytes) == ERROR_SUCCESS) {
        std::vector<BYTE> data(bytes + 2);
        if (RegQueryValueExA(key, name, NULL, &v.type, data.data(), &bytes) == ERROR_SUCCESS) {
            v.present = true;
            v.data.assign((const char *)data.data(), bytes);
        }
    }
    RegCloseKey(key);
    return v;
}

// Whether the key existed at all, so that the end state can match it.
static bool SettingsKeyExists()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The settings as a suite found them, to be put back at its end: the key
// itself removed if it was not there.
struct FoundSettings {
    bool keyExisted;
    RawValue parameter, customFile;
};

static FoundSettings FindSettings()
{
    return {SettingsKeyExists(), ReadRaw("Parameter"), ReadRaw("CustomFile")};
}

static void PutBackSettings(const FoundSettings &f)
{
    if (f.keyExisted) {
        WriteRaw("Parameter", f.parameter);
        WriteRaw("CustomFile", f.customFile);
    } else {
        RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
    }
}

#endif
