// The platform layer on Windows: each call is the API of the same purpose.
#include <windows.h>

#include "platform.h"

BlockHandle PlatformBlockAlloc(size_t bytes)
{
    return GlobalAlloc(GMEM_MOVEABLE, bytes);
}

void *PlatformBlockLock(BlockHandle block)
{
    return GlobalLock(block);
}

void PlatformBlockUnlock(BlockHandle block)
{
    GlobalUnlock(block);
}

void PlatformBlockFree(BlockHandle block)
{
    GlobalFree(block);
}

void *PlatformLocalAlloc(size_t bytes)
{
    return LocalAlloc(LMEM_ZEROINIT, bytes);
}

void PlatformLocalFree(void *p)
{
    LocalFree(p);
}

uint32_t PlatformLastError()
{
    return GetLastError();
}

int PlatformToCp932(const Unit16 *src, int units, char *dst, int dstBytes)
{
    return WideCharToMultiByte(932, 0, (LPCWSTR)src, units, dst, dstBytes, NULL, NULL);
}

bool PlatformIsCp932LeadByte(unsigned char b)
{
    return IsDBCSLeadByteEx(932, b) != 0;
}

void PlatformFormat(char *out, const char *format, uint32_t a, uint32_t b)
{
    wsprintfA(out, format, a, b);
}

void PlatformErrorBox(WindowHandle owner, const char *text)
{
    MessageBoxA((HWND)owner, text, NULL, MB_ICONERROR);
}

WindowHandle PlatformActiveWindow()
{
    return GetActiveWindow();
}
