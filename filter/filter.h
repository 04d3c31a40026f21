// The module's boundary towards the editor.
#ifndef TALLORIX_FILTER_FILTER_H
#define TALLORIX_FILTER_FILTER_H

#include <windows.h>

// One entry of the filter list that the editor reads directly: five 32-bit
// fields, so the layout is fixed.
struct FilterInfo {
    DWORD size;
    const char *function;
    const char *captionJapanese;
    const char *captionEnglish;
    unsigned char hostBytes[4];
};

extern "C" {
DWORD __cdecl VeltraneFilterGetVersion(void);
const FilterInfo *__cdecl EnumVeltraneFilter(void);
HGLOBAL __cdecl CustomSort(HWND owner, const WCHAR *text, char *option, int optionSize);
}

// Recorded at load; the dialogs' templates come from it.
extern HINSTANCE moduleInstance;

#endif
