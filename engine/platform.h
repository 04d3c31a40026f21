// The few operating-system services the engine uses. The Windows build maps
// each one onto the API of the same purpose; the native build emulates them
// so the engine can be tested on Linux.
#ifndef TALLORIX_ENGINE_PLATFORM_H
#define TALLORIX_ENGINE_PLATFORM_H

#include <stddef.h>
#include <stdint.h>

#include "types.h"

typedef void *WindowHandle;  // HWND
typedef void *BlockHandle;   // HGLOBAL of a moveable block

// Moveable global memory: GlobalAlloc(GMEM_MOVEABLE), GlobalLock,
// GlobalUnlock, GlobalFree. Contents are not zero-filled.
BlockHandle PlatformBlockAlloc(size_t bytes);
void *PlatformBlockLock(BlockHandle block);
void PlatformBlockUnlock(BlockHandle block);
void PlatformBlockFree(BlockHandle block);

// Zero-filled local memory: LocalAlloc(LMEM_ZEROINIT), LocalFree.
void *PlatformLocalAlloc(size_t bytes);
void PlatformLocalFree(void *p);

// GetLastError.
uint32_t PlatformLastError();

// WideCharToMultiByte(932, 0, src, units, dst, dstBytes, NULL, NULL):
// bytes written, 0 on failure.
int PlatformToCp932(const Unit16 *src, int units, char *dst, int dstBytes);

// IsDBCSLeadByteEx(932, b).
bool PlatformIsCp932LeadByte(unsigned char b);

// wsprintfA(out, format, a, b) into a buffer of 256 bytes.
void PlatformFormat(char *out, const char *format, uint32_t a, uint32_t b);

// MessageBoxA(owner, text, NULL, MB_ICONERROR).
void PlatformErrorBox(WindowHandle owner, const char *text);

// GetActiveWindow.
WindowHandle PlatformActiveWindow();

#endif
