// A program that crashes on purpose, in the way its argument names, for
// tests/cli/crash_test.sh to show that a crash under Wine ends the process
// at once with the exception's code. It says which way it crashes on
// standard output first, so that the script can tell a crash from a
// program that did not start.
//
//   exit          no crash: returns 0
//   null-write    a write through a null pointer: an access violation
//   raise         RaiseException with CRASH_CODE
//   thread        a write through a null pointer in a second thread
//   window        a write through a null pointer in a window procedure,
//                 called by DispatchMessage
#include <windows.h>

#include <stdio.h>
#include <string.h>

// An application's own code (customer bit set), its low byte 0x2A.
static const DWORD CRASH_CODE = 0xE000002A;

// Null, but read as a volatile global, so that the compiler cannot tell
// and must make the write: GCC drops a write through a local one.
static int *volatile nullTarget;

static void WriteNull()
{
    *nullTarget = 1;
}

static DWORD WINAPI CrashThread(void *)
{
    WriteNull();
    return 0;
}

static LRESULT CALLBACK CrashProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_APP)
        WriteNull();
    return DefWindowProcA(window, message, w, l);
}

static void CrashInWindow()
{
    WNDCLASSA c;
    memset(&c, 0, sizeof c);
    c.lpfnWndProc = CrashProc;
    c.hInstance = GetModuleHandleA(NULL);
    c.lpszClassName = "TallorixCrashTest";
    RegisterClassA(&c);
    HWND window = CreateWindowA(c.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, c.hInstance, NULL);
    PostMessageA(window, WM_APP, 0, 0);
    MSG m;
    while (GetMessageA(&m, NULL, 0, 0) > 0)
        DispatchMessageA(&m);
}

int main(int argc, char **argv)
{
    const char *how = argc > 1 ? argv[1] : "";
    if (strcmp(how, "exit") == 0) {
        printf("exiting: %s\n", how);
        return 0;
    }
    printf("crashing: %s\n", how);
    fflush(stdout);
    if (strcmp(how, "null-write") == 0) {
        WriteNull();
    } else if (strcmp(how, "raise") == 0) {
        RaiseException(CRASH_CODE, EXCEPTION_NONCONTINUABLE, 0, NULL);
    } else if (strcmp(how, "thread") == 0) {
        HANDLE t = CreateThread(NULL, 0, CrashThread, NULL, 0, NULL);
        WaitForSingleObject(t, INFINITE);
    } else if (strcmp(how, "window") == 0) {
        CrashInWindow();
    } else {
        fprintf(stderr, "usage: crash_test exit|null-write|raise|thread|window\n");
        return 2;
    }
    // Not reached when the crash ends the process.
    printf("survived: %s\n", how);
    return 0;
}
