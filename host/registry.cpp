#include "registry.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "../filter/settings_key.h"
#include "report.h"

bool StoreOrderFile(const wchar_t *path)
{
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, NULL, 0, NULL, &lossy);
    char *ansi = n > 0 ? (char *)malloc(n) : NULL;
    if (!ansi) {
        Say("order file path cannot be converted to code page %u", GetACP());
        return false;
    }
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, ansi, n, NULL, &lossy);
    if (lossy) {
        Say("order file path has a character that code page %u lacks", GetACP());
        free(ansi);
        return false;
    }

    HKEY key;
    LONG r = RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, REG_OPTION_NON_VOLATILE,
                             KEY_SET_VALUE, NULL, &key, NULL);
    if (r == ERROR_SUCCESS) {
        r = RegSetValueExA(key, "CustomFile", 0, REG_SZ, (const BYTE *)ansi, (DWORD)strlen(ansi) + 1);
        RegCloseKey(key);
    }
    free(ansi);
    if (r != ERROR_SUCCESS) {
        Say("cannot store CustomFile in the registry: error %ld", r);
        return false;
    }
    return true;
}
