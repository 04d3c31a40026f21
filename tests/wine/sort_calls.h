// CustomSort of the real module, called as the editor calls it; message
// boxes it shows are recorded and answered, and the options dialog is
// cancelled, from a CBT hook on this thread.
#ifndef TALLORIX_TESTS_WINE_SORT_CALLS_H
#define TALLORIX_TESTS_WINE_SORT_CALLS_H

#include <windows.h>

#include <string.h>
#include <string>

#include "check.h"

typedef HGLOBAL(__cdecl *CustomSortFn)(HWND, const WCHAR *, char *, int);

static HMODULE module;
static CustomSortFn customSort;

static HHOOK hook;
static int boxCount;
static char lastBox[512];
static int dialogCount;

static LRESULT CALLBACK AnswerBoxes(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = (HWND)w;
        char text[512];
        if (GetDlgItem(box, 1003)) {
            // The options dialog: answered with Cancel.
            dialogCount++;
            PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        } else if (GetDlgItemTextA(box, 0xFFFF, text, sizeof text) > 0) {
            boxCount++;
            memcpy(lastBox, text, sizeof lastBox);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(hook, code, w, l);
}

// Loads the module, finds CustomSort and hooks this thread.
static bool LoadModule(const char *path)
{
    module = LoadLibraryA(path);
    CHECK(module != NULL, "LoadLibrary %s: error %lu", path, GetLastError());
    if (!module)
        return false;
    customSort = (CustomSortFn)(void *)GetProcAddress(module, "CustomSort");
    CHECK(customSort != NULL, "CustomSort missing");
    if (!customSort)
        return false;
    hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, NULL, GetCurrentThreadId());
    return true;
}

static void UnloadModule()
{
    UnhookWindowsHookEx(hook);
    FreeLibrary(module);
}

struct Result {
    bool null;
    std::wstring text;
    SIZE_T size;
};

// Takes over the block CustomSort returned: its text up to the NUL and its
// size; frees it.
static Result TakeBlock(HGLOBAL block)
{
    Result r = {block == NULL, L"", 0};
    if (block) {
        r.size = GlobalSize(block);
        r.text = (const WCHAR *)GlobalLock(block);
        GlobalUnlock(block);
        GlobalFree(block);
    }
    return r;
}

// Sorts text with an option buffer of 256 bytes that starts with the given
// bytes and is zero elsewhere.
static Result RunSort(const char *option, size_t optionBytes, const WCHAR *text, char *optionOut = NULL)
{
    char buffer[256] = {0};
    memcpy(buffer, option, optionBytes);
    Result r = TakeBlock(customSort(NULL, text, buffer, sizeof buffer));
    if (optionOut)
        memcpy(optionOut, buffer, sizeof buffer);
    return r;
}

// Printable ASCII as is, every other unit as <hex>.
static std::string Narrow(const std::wstring &s)
{
    std::string out;
    for (WCHAR c : s) {
        char hex[8];
        if (c >= 0x20 && c < 0x7F) {
            out += (char)c;
        } else {
            wsprintfA(hex, "<%X>", c);
            out += hex;
        }
    }
    return out;
}

#endif
