// CustomSort of the real module, called as the editor calls it; message
// boxes it shows are recorded and answered, and the options dialog is
// answered (cancelled unless a test says OK), from a CBT hook on this
// thread.
#ifndef TALLORIX_TESTS_WINE_SORT_CALLS_H
#define TALLORIX_TESTS_WINE_SORT_CALLS_H

#include <windows.h>

#include <string.h>
#include <string>
#include <vector>

#include "check.h"
#include "tests/reference/procedure.h"

typedef HGLOBAL(__cdecl *CustomSortFn)(HWND, const WCHAR *, char *, int);

static HMODULE module;
static CustomSortFn customSort;

static HHOOK hook;
static int boxCount;
static char lastBox[512];
static int dialogCount;
static WPARAM dialogAnswer = IDCANCEL;  // how the options dialog is answered

static LRESULT CALLBACK AnswerBoxes(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = (HWND)w;
        char text[512];
        if (GetDlgItem(box, 1003)) {
            // The options dialog: answered with Cancel, unless a test
            // asks for OK.
            dialogCount++;
            PostMessageA(box, WM_COMMAND, dialogAnswer, 0);
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

// Lines of a few keys drawn at random, the key of each line in keyOf. When
// numbered, each key is followed by a run of 18 blanks that spells the
// line's number in tabs and spaces, then x: with blanks collapsed the keys
// stay as few, yet every line shows where it went.
struct KeyLines {
    std::vector<std::wstring> lines;
    std::vector<size_t> keyOf;
};

static inline KeyLines MakeKeyLines(const std::vector<std::wstring> &keys, size_t n, bool numbered)
{
    KeyLines k;
    uint32_t seed = 1;
    for (size_t i = 0; i < n; i++) {
        seed = seed * 1103515245u + 12345u;
        size_t key = (seed >> 16) % keys.size();
        std::wstring line = keys[key];
        if (numbered) {
            for (int b = 17; b >= 0; b--)
                line += (i >> b & 1) ? L'\t' : L' ';
            line += L"x";
        }
        k.lines.push_back(line);
        k.keyOf.push_back(key);
    }
    return k;
}

// Sorts the lines, each ended by LF, with option and checks that every
// line comes back where the reference procedure puts it, keyCmp(i, j)
// comparing keys i and j as the option's order does. The procedure runs
// on a table of the few keys' signs: on so many equal keys it is
// quadratic, and each of its comparisons must cost next to nothing.
template <typename KeyCmp>
static void CheckProcedureResult(const char *what, const char *option, const KeyLines &k, KeyCmp keyCmp)
{
    size_t keys = 0;
    for (size_t key : k.keyOf)
        keys = key + 1 > keys ? key + 1 : keys;
    std::vector<int> sign(keys * keys);
    for (size_t i = 0; i < keys; i++)
        for (size_t j = 0; j < keys; j++) {
            int32_t c = keyCmp(i, j);
            sign[i * keys + j] = (c > 0) - (c < 0);
        }
    const std::vector<std::wstring> &lines = k.lines;
    std::wstring text;
    for (const std::wstring &l : lines)
        text += l + L"\n";
    std::vector<size_t> t(lines.size());
    for (size_t i = 0; i < t.size(); i++)
        t[i] = i;
    RefQuickSort(t, [&](size_t x, size_t y) { return sign[k.keyOf[x] * keys + k.keyOf[y]]; });
    boxCount = 0;
    Result r = RunSort(option, 6, text.c_str());
    CHECK(!r.null && r.text.size() == text.size(), "%s, %s: no result or a wrong length", what, option);
    size_t at = 0, wrong = 0, first = t.size();
    for (size_t i = 0; i < t.size() && r.text.size() == text.size(); i++) {
        const std::wstring &want = lines[t[i]];
        if (r.text.compare(at, want.size() + 1, want + L"\n") != 0 && wrong++ == 0)
            first = i;
        at += want.size() + 1;
    }
    CHECK(wrong == 0, "%s, %s: %u of %u lines not where the procedure puts them, first at %u", what, option,
          (unsigned)wrong, (unsigned)t.size(), (unsigned)first);
    CHECK(boxCount == 0, "%s, %s: %d message boxes, last \"%s\"", what, option, boxCount, lastBox);
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
