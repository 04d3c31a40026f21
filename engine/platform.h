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

typedef void *FileHandle;

// CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
// OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, NULL); NULL when it fails.
FileHandle PlatformOpenFile(const char *path);

// GetFileSize: false when the size cannot be read; a size of 4 GiB or more
// is reported as UINT32_MAX.
bool PlatformFileSize(FileHandle file, uint32_t *bytes);

// ReadFile: false when the read fails; *got is what was read.
bool PlatformReadFile(FileHandle file, void *buffer, uint32_t bytes, uint32_t *got);

// CloseHandle.
void PlatformCloseFile(FileHandle file);

#endif
