// The module's boundary towards the editor.
#ifndef TALLORIX_FILTER_FILTER_H
#define TALLORIX_FILTER_FILTER_H

#include <windows.h>

// One entry of the filter list that the editor reads directly: a 32-bit size,
// three pointers and four bytes, at their natural places for the module's
// width (exports.cpp draws both layouts).
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
