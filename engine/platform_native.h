// Test hooks of the native platform layer.
#ifndef TALLORIX_ENGINE_PLATFORM_NATIVE_H
#define TALLORIX_ENGINE_PLATFORM_NATIVE_H

#include <stddef.h>

#include "platform.h"

// Makes the k-th allocation from now (1 for the next, block or local
// alike) fail with ERROR_NOT_ENOUGH_MEMORY; 0 turns failures off.
void NativeFailAllocation(long k);

// Whether new blocks are filled with garbage, as the tests want them (the
// default); the benchmark times the engine without it.
void NativeFillBlocks(bool fill);

// Allocations made and not yet freed.
long NativeLiveAllocations();

// Bytes held by allocations not yet freed (blocks as requested, local
// memory as malloc rounded it), and the most held at once since the last
// reset.
size_t NativeLiveBytes();
size_t NativePeakBytes();
void NativeResetPeak();

// Files opened and not yet closed.
long NativeOpenFiles();

// Size of a block as requested.
size_t NativeBlockSize(BlockHandle block);

// Message boxes shown since the last clear, oldest first.
int NativeMessageCount();
const char *NativeMessage(int i);
WindowHandle NativeMessageOwner(int i);
void NativeClearMessages();

#endif
