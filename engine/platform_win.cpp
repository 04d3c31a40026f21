// The platform layer on Windows: each call is the API of the same purpose.
#include <windows.h>

#include "platform.h"

#ifdef TALLORIX_TEST_HOOKS
// The test-only module (tests/wine/fault_module.cpp) fails allocations on
// request and counts those not yet freed; a shipped module has neither.
bool TestAllocationFails();
void TestCountAllocation(void *p, int change);
#else
static inline bool TestAllocationFails() { return false; }
static inline void TestCountAllocation(void *, int) {}
#endif

BlockHandle PlatformBlockAlloc(size_t bytes)
{
    if (TestAllocationFails())
        return NULL;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    TestCountAllocation(block, 1);
    return block;
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
    TestCountAllocation(block, -1);
    GlobalFree(block);
}

void *PlatformLocalAlloc(size_t bytes)
{
    if (TestAllocationFails())
        return NULL;
    void *p = LocalAlloc(LMEM_ZEROINIT, bytes);
    TestCountAllocation(p, 1);
    return p;
}

void PlatformLocalFree(void *p)
{
    TestCountAllocation(p, -1);
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

FileHandle PlatformOpenFile(const char *path)
{
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, NULL);
    return h == INVALID_HANDLE_VALUE ? NULL : h;
}

bool PlatformFileSize(FileHandle file, uint32_t *bytes)
{
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    *bytes = high ? UINT32_MAX : low;
    return true;
}

bool PlatformReadFile(FileHandle file, void *buffer, uint32_t bytes, uint32_t *got)
{
    DWORD read = 0;
    BOOL ok = ReadFile(file, buffer, bytes, &read, NULL);
    *got = read;
    return ok != 0;
}

void PlatformCloseFile(FileHandle file)
{
    CloseHandle(file);
}
