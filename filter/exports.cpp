#include "filter.h"

#include <stddef.h>

// The editor reads the records directly, so their layout is fixed for each
// width of the module:
//
//   field              x86 offset  x64 offset
//   size                    0           0
//   function                4           8
//   captionJapanese         8          16
//   captionEnglish         12          24
//   hostBytes              16          32
//   (record size)          20          40
#ifdef _WIN64
static_assert(sizeof(FilterInfo) == 40 && offsetof(FilterInfo, function) == 8 &&
                  offsetof(FilterInfo, hostBytes) == 32,
              "the 64-bit editor reads 40-byte records");
#else
static_assert(sizeof(FilterInfo) == 20 && offsetof(FilterInfo, function) == 4 &&
                  offsetof(FilterInfo, hostBytes) == 16,
              "the editor reads 20-byte records");
#endif

HINSTANCE moduleInstance;

static const FilterInfo filters[2] = {
    {sizeof(FilterInfo), "CustomSort", "カスタムソート...", "CustomSort...", {'S', 0x01, 0x00, 0x00}},
    {0, NULL, NULL, NULL, {0, 0, 0, 0}},
};

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID)
{
    moduleInstance = instance;
    return TRUE;
}

DWORD __cdecl VeltraneFilterGetVersion(void)
{
    return 0x20000;
}

const FilterInfo *__cdecl EnumVeltraneFilter(void)
{
    return filters;
}
