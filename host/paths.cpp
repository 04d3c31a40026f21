#include "paths.h"

#include <stdlib.h>
#include <wchar.h>
#include <windows.h>

static void Backslashes(wchar_t *p)
{
    for (; *p; p++)
        if (*p == L'/')
            *p = L'\\';
}

wchar_t *WindowsPath(const wchar_t *path)
{
    size_t n = wcslen(path);
    wchar_t *out = (wchar_t *)malloc((n + 3) * sizeof(wchar_t));
    if (!out)
        return NULL;
    if (n == 0) {
        out[0] = 0;
        return out;
    }
    if (path[0] == L'/') {
        out[0] = L'Z';
        out[1] = L':';
        wcscpy(out + 2, path);
        Backslashes(out);
        return out;
    }
    wcscpy(out, path);
    Backslashes(out);
    DWORD need = GetFullPathNameW(out, 0, NULL, NULL);
    wchar_t *full = need ? (wchar_t *)malloc(need * sizeof(wchar_t)) : NULL;
    DWORD got = full ? GetFullPathNameW(out, need, full, NULL) : 0;
    free(out);
    if (got == 0 || got >= need) {
        free(full);
        return NULL;
    }
    return full;
}
