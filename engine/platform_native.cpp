// The platform layer on Linux: malloc for both kinds of memory, a table
// of code page 932 as the system converts, and message boxes recorded for
// the tests.

// A 64-bit off_t in 32-bit builds too: else fstat fails (EOVERFLOW) on
// 64-bit inode numbers, and (off_t)UINT32_MAX is -1.
#define _FILE_OFFSET_BITS 64

#include <fcntl.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform.h"
#include "platform_native.h"

enum { ERROR_NOT_ENOUGH_MEMORY = 8, ERROR_FILE_NOT_FOUND = 2, MAX_MESSAGES = 32, MESSAGE_SIZE = 256 };

struct NativeBlock {
    size_t size;
    int locks;
    unsigned char *data;
};

static long failCountdown;
static bool fillBlocks = true;
static long liveAllocations;
static size_t liveBytes, peakBytes;
static long openFiles;
static uint32_t lastError;
static char messages[MAX_MESSAGES][MESSAGE_SIZE];
static WindowHandle messageOwners[MAX_MESSAGES];
static int messageCount;

static bool AllocationFails()
{
    if (failCountdown > 0 && --failCountdown == 0) {
        lastError = ERROR_NOT_ENOUGH_MEMORY;
        return true;
    }
    return false;
}

void NativeFillBlocks(bool fill)
{
    fillBlocks = fill;
}

void NativeFailAllocation(long k)
{
    failCountdown = k;
}

long NativeLiveAllocations()
{
    return liveAllocations;
}

static void Count(size_t bytes)
{
    liveBytes += bytes;
    if (liveBytes > peakBytes)
        peakBytes = liveBytes;
}

size_t NativeLiveBytes()
{
    return liveBytes;
}

size_t NativePeakBytes()
{
    return peakBytes;
}

void NativeResetPeak()
{
    peakBytes = liveBytes;
}

BlockHandle PlatformBlockAlloc(size_t bytes)
{
    if (AllocationFails())
        return NULL;
    NativeBlock *b = (NativeBlock *)malloc(sizeof *b);
    unsigned char *data = (unsigned char *)malloc(bytes ? bytes : 1);
    if (!b || !data) {
        free(b);
        free(data);
        lastError = ERROR_NOT_ENOUGH_MEMORY;
        return NULL;
    }
    // Global blocks are not zero-filled; garbage makes a read of bytes never
    // written show in the tests.
    if (fillBlocks)
        memset(data, 0xA5, bytes);
    b->size = bytes;
    b->locks = 0;
    b->data = data;
    liveAllocations++;
    Count(bytes);
    return b;
}

void *PlatformBlockLock(BlockHandle block)
{
    NativeBlock *b = (NativeBlock *)block;
    b->locks++;
    return b->data;
}

void PlatformBlockUnlock(BlockHandle block)
{
    NativeBlock *b = (NativeBlock *)block;
    if (b->locks > 0)
        b->locks--;
}

void PlatformBlockFree(BlockHandle block)
{
    NativeBlock *b = (NativeBlock *)block;
    if (!b)
        return;
    liveBytes -= b->size;
    free(b->data);
    free(b);
    liveAllocations--;
}

size_t NativeBlockSize(BlockHandle block)
{
    return ((NativeBlock *)block)->size;
}

void *PlatformLocalAlloc(size_t bytes)
{
    if (AllocationFails())
        return NULL;
    void *p = calloc(1, bytes ? bytes : 1);
    if (!p) {
        lastError = ERROR_NOT_ENOUGH_MEMORY;
        return NULL;
    }
    liveAllocations++;
    Count(malloc_usable_size(p));
    return p;
}

void PlatformLocalFree(void *p)
{
    if (!p)
        return;
    liveBytes -= malloc_usable_size(p);
    free(p);
    liveAllocations--;
}

uint32_t PlatformLastError()
{
    return lastError;
}

// Code page 932 is stateless, and the system converts a surrogate pair as
// its two units, so each unit converts on its own. cp932_table.inc, made
// by tools/cp932_table.cpp, lists what the system makes of every unit that
// does not become the default character '?', best fit included; it is
// spread over all 65,536 units on first use. The low 16 bits hold the
// bytes (lead byte high), bit 16 marks a double-byte result.
struct Cp932Entry {
    uint16_t unit;
    uint16_t bytes;
};

static const Cp932Entry cp932Entries[] = {
#include "cp932_table.inc"
};

static uint32_t cp932Table[65536];
static bool cp932Ready;

static void MakeCp932Table()
{
    for (uint32_t u = 0; u < 65536; u++)
        cp932Table[u] = '?';
    for (const Cp932Entry &e : cp932Entries)
        cp932Table[e.unit] = e.bytes > 0xFF ? 0x10000 | e.bytes : e.bytes;
    cp932Ready = true;
}

int PlatformToCp932(const Unit16 *src, int units, char *dst, int dstBytes)
{
    if (!cp932Ready)
        MakeCp932Table();
    unsigned char *out = (unsigned char *)dst;
    int written = 0;
    if ((int64_t)dstBytes >= 2 * (int64_t)units) {
        // Room for the longest result: no unit needs a check, and both
        // bytes are written whatever the length, the second overwritten
        // by the next character when the first was all, so that text
        // that switches between scripts costs no mispredicted branches.
        // The last unit is written exactly, as the system writes nothing
        // past its result.
        int i = 0;
        for (; i + 1 < units; i++) {
            uint32_t v = cp932Table[src[i]];
            uint32_t two = v >> 16;
            out[written] = (unsigned char)(two ? v >> 8 : v);
            out[written + 1] = (unsigned char)v;
            written += 1 + (int)two;
        }
        for (; i < units; i++) {
            uint32_t v = cp932Table[src[i]];
            if (v >> 16)
                out[written++] = (unsigned char)(v >> 8);
            out[written++] = (unsigned char)v;
        }
        return written;
    }
    for (int i = 0; i < units; i++) {
        uint32_t v = cp932Table[src[i]];
        int length = v & 0x10000 ? 2 : 1;
        if (written + length > dstBytes)
            return 0;
        if (length == 2)
            out[written++] = (unsigned char)(v >> 8);
        out[written++] = (unsigned char)v;
    }
    return written;
}

bool PlatformIsCp932LeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

void PlatformFormat(char *out, const char *format, uint32_t a, uint32_t b)
{
    snprintf(out, MESSAGE_SIZE, format, (unsigned)a, (unsigned)b);
}

void PlatformErrorBox(WindowHandle owner, const char *text)
{
    if (messageCount < MAX_MESSAGES) {
        snprintf(messages[messageCount], MESSAGE_SIZE, "%s", text);
        messageOwners[messageCount] = owner;
        messageCount++;
    }
}

WindowHandle PlatformActiveWindow()
{
    return NULL;
}

int NativeMessageCount()
{
    return messageCount;
}

const char *NativeMessage(int i)
{
    return i >= 0 && i < messageCount ? messages[i] : "";
}

WindowHandle NativeMessageOwner(int i)
{
    return i >= 0 && i < messageCount ? messageOwners[i] : NULL;
}

void NativeClearMessages()
{
    messageCount = 0;
}

// A file handle is its descriptor plus one, so that 0 stays null.
FileHandle PlatformOpenFile(const char *path)
{
    int fd = path[0] ? open(path, O_RDONLY | O_CLOEXEC) : -1;
    if (fd < 0) {
        lastError = ERROR_FILE_NOT_FOUND;
        return NULL;
    }
    openFiles++;
    return (FileHandle)(intptr_t)(fd + 1);
}

bool PlatformFileSize(FileHandle file, uint32_t *bytes)
{
    struct stat st;
    if (fstat((int)(intptr_t)file - 1, &st) != 0)
        return false;
    *bytes = st.st_size >= (off_t)UINT32_MAX ? UINT32_MAX : (uint32_t)st.st_size;
    return true;
}

bool PlatformReadFile(FileHandle file, void *buffer, uint32_t bytes, uint32_t *got)
{
    *got = 0;
    while (*got < bytes) {
        ssize_t r = read((int)(intptr_t)file - 1, (char *)buffer + *got, bytes - *got);
        if (r < 0)
            return false;
        if (r == 0)
            break;
        *got += (uint32_t)r;
    }
    return true;
}

void PlatformCloseFile(FileHandle file)
{
    close((int)(intptr_t)file - 1);
    openFiles--;
}

long NativeOpenFiles()
{
    return openFiles;
}
