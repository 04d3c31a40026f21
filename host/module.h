// The filter module as the editor sees it: a DLL, its version and its list
// of filters.
#ifndef TALLORIX_HOST_MODULE_H
#define TALLORIX_HOST_MODULE_H

#include <windows.h>

// One entry (20 bytes from an x86 module, 40 from an x64 one) of the list that EnumVeltraneFilter returns; the list
// ends with an entry whose bytes are all zero.
struct FilterRecord {
    DWORD size;
    const char *function;
    const char *captionJapanese;  // code page 932
    const char *captionEnglish;
    unsigned char hostBytes[4];
};

typedef HGLOBAL(__cdecl *FilterFunction)(HWND owner, const WCHAR *text, char *option,
                                          int optionSize);

struct FilterModule {
    HMODULE handle;
    DWORD version;
    const FilterRecord *filters;
    int count;  // entries before the zero entry
};

// Loads the DLL at path and calls VeltraneFilterGetVersion and
// EnumVeltraneFilter. name is the path as given, for messages. False, with
// the reason said, when any of it fails.
bool LoadFilterModule(const wchar_t *path, const char *name, FilterModule *m);

// The function of filter index, looked up by the name in its record; NULL,
// with the reason said, when the module does not export it.
FilterFunction FindFilter(const FilterModule *m, int index);

#endif
