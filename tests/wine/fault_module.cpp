// The test-only module's controls: TallorixFaults.vlf is Tallorix.vlf
// built from the same sources with the test hooks, plus this file. Its
// platform layer asks here before each GlobalAlloc and LocalAlloc, so that
// a test can fail the k-th one and count those not freed. Never shipped.
#include <windows.h>

#include <stdint.h>

#include "engine/quicksort.h"

static long failCountdown;  // the allocation that fails, counted from 1; 0 none
static long allocationsMade, allocationsLive;

bool TestAllocationFails()
{
    allocationsMade++;
    if (failCountdown > 0 && --failCountdown == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return true;
    }
    return false;
}

// Null handles are neither made nor freed.
void TestCountAllocation(void *p, int change)
{
    if (p)
        allocationsLive += change;
}

extern "C" {
// Makes the k-th allocation from now fail (1 for the next); 0 for none.
__declspec(dllexport) void __cdecl TallorixFailAllocation(long k)
{
    failCountdown = k;
}

// Allocations asked for since the module was loaded, failed ones included.
__declspec(dllexport) long __cdecl TallorixAllocationsMade(void)
{
    return allocationsMade;
}

// Allocations made by the module and not freed by it: the result block
// counts until the caller frees it, which the module does not see.
__declspec(dllexport) long __cdecl TallorixLiveAllocations(void)
{
    return allocationsLive;
}

// The quicksort's guard budget: 0 hands over to the exact finish at once,
// a negative one restores the module's own.
__declspec(dllexport) void __cdecl TallorixSetGuardBudget(long long budget)
{
    guardBudget = budget;
}
}
