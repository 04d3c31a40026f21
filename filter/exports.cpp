#include "filter.h"

static_assert(sizeof(FilterInfo) == 20, "the editor reads 20-byte records");

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
