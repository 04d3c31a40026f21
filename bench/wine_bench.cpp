// The benchmark's modes end to end through the real module: CustomSort with
// each option string, timed with the performance counter.
//
//   wine_bench MODULE ORDER_FILE
//
// Reads requests "NAME N [PATTERN]" from standard input, a mode, a number
// of lines and, for a pattern's lines instead of the ordinary ones, its
// name, and answers each with
//
//   wine mode=NAME lines=N ms=T hash=H keys=K table=L sort=S output=O
//
// T for one sort through the module, H its output's FNV-1a hash for the
// native run to compare with, and K to O the phases of one more sort by the
// engine linked in here, built as the module builds it. So the native
// benchmark takes its rounds side by side with these. The custom mode names
// ORDER_FILE in the settings for the time of the run.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/bench_data.h"
#include "bench/patterns.h"
#include "engine/order_file.h"
#include "engine/sort_phases.h"
#include "filter/options.h"
#include "filter/settings_key.h"

typedef HGLOBAL(__cdecl *CustomSortFn)(HWND, const WCHAR *, char *, int);


// A message box would stop the run: each is answered and counted.
static HHOOK hook;
static int boxes;

static LRESULT CALLBACK AnswerBoxes(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_ACTIVATE) {
        boxes++;
        PostMessageA((HWND)w, WM_COMMAND, IDOK, 0);
        PostMessageA((HWND)w, WM_COMMAND, IDCANCEL, 0);
    }
    return CallNextHookEx(hook, code, w, l);
}

static unsigned long long Hash(const unsigned char *p, size_t n)
{
    unsigned long long h = 0xCBF29CE484222325ull;
    for (size_t i = 0; i < n; i++)
        h = (h ^ p[i]) * 0x100000001B3ull;
    return h;
}

// The stored CustomFile, to put back afterwards; false if there was none.
static bool SaveCustomFile(BYTE *data, DWORD *bytes, DWORD *type)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG r = RegQueryValueExA(key, "CustomFile", NULL, type, data, bytes);
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

static void SetCustomFile(const BYTE *data, DWORD bytes, DWORD type)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return;
    if (data)
        RegSetValueExA(key, "CustomFile", 0, type, data, bytes);
    else
        RegDeleteValueA(key, "CustomFile");
    RegCloseKey(key);
}

// One sort in mode m, with the option of pattern p if p is not negative,
// its time and its output's hash. False when the module failed or showed a
// message box.
static bool TimeSort(CustomSortFn customSort, LARGE_INTEGER frequency, const std::vector<uint16_t> &text, int m,
                     int p, double *ms, unsigned long long *hash)
{
    char option[256] = {0};
    if (p >= 0)
        PatternOptions(p, benchModes[m].option, option);
    else
        strcpy(option, benchModes[m].option);
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    HGLOBAL out = customSort(NULL, (const WCHAR *)text.data(), option, sizeof option);
    QueryPerformanceCounter(&t1);
    *ms = (t1.QuadPart - t0.QuadPart) * 1e3 / frequency.QuadPart;
    if (!out || GlobalSize(out) != 2 * (text.size() - 1) + 4) {
        fprintf(stderr, "wine_bench: %s: no result or a wrong size\n", benchModes[m].name);
        return false;
    }
    *hash = Hash((const unsigned char *)GlobalLock(out), 2 * text.size());
    GlobalUnlock(out);
    GlobalFree(out);
    if (boxes) {
        fprintf(stderr, "wine_bench: %s: the module showed %d message boxes\n", benchModes[m].name, boxes);
        boxes = 0;
        return false;
    }
    return true;
}

// One sort by the engine's phases, each timed into phase[0] to phase[3] in
// ms: keys, line table, sort, output. False when it could not run.
static bool TimePhases(LARGE_INTEGER frequency, const std::vector<uint16_t> &text, int m, int p,
                       const char *orderPath, double phase[4])
{
    char option[256] = {0};
    if (p >= 0)
        PatternOptions(p, benchModes[m].option, option);
    else
        strcpy(option, benchModes[m].option);
    OrderFile orderFile;
    memset(&orderFile, 0, sizeof orderFile);
    snprintf(orderFile.path, sizeof orderFile.path, "%s", orderPath);
    SortWork w;
    LARGE_INTEGER t[5];
    QueryPerformanceCounter(&t[0]);
    bool ok = BeginSort(&w, NULL, (const Unit16 *)text.data(), DecodeOptions(option), &orderFile);
    BlockHandle out = NULL;
    if (ok) {
        MakeKeys(&w);
        QueryPerformanceCounter(&t[1]);
        if (w.lines < 2) {
            GlobalFree(ReturnText(&w));
            ok = false;
        } else {
            ok = MakeLineTable(&w);
        }
        QueryPerformanceCounter(&t[2]);
    }
    if (ok) {
        SortLineTable(&w);
        QueryPerformanceCounter(&t[3]);
        out = WriteOutput(&w);
        QueryPerformanceCounter(&t[4]);
    }
    ReleaseOrderTable(&orderFile);
    if (!out)
        return false;
    GlobalFree(out);
    for (int i = 0; i < 4; i++)
        phase[i] = (t[i + 1].QuadPart - t[i].QuadPart) * 1e3 / frequency.QuadPart;
    return true;
}

// The index of the mode of that name, or benchModeCount.
static int ModeNamed(const char *name)
{
    int m = 0;
    while (m < benchModeCount && strcmp(benchModes[m].name, name))
        m++;
    return m;
}

// The index of the pattern of that name, or benchPatternCount.
static int PatternNamed(const char *name)
{
    int p = 0;
    while (p < benchPatternCount && strcmp(benchPatterns[p].name, name))
        p++;
    return p;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: wine_bench MODULE ORDER_FILE\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    CustomSortFn customSort = module ? (CustomSortFn)(void *)GetProcAddress(module, "CustomSort") : NULL;
    if (!customSort) {
        fprintf(stderr, "wine_bench: cannot load %s\n", argv[1]);
        return 1;
    }
    hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, NULL, GetCurrentThreadId());

    BYTE saved[1024];
    DWORD savedBytes = sizeof saved, savedType = 0;
    bool hadCustomFile = SaveCustomFile(saved, &savedBytes, &savedType);
    SetCustomFile((const BYTE *)argv[2], (DWORD)strlen(argv[2]) + 1, REG_SZ);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    int status = 0;
    char request[256], name[64], pattern[64];
    size_t lines, textLines = 0;
    int textPattern = -1;
    std::vector<uint16_t> text;
    while (fgets(request, sizeof request, stdin)) {
        int fields = sscanf(request, "%63s %zu %63s", name, &lines, pattern);
        int m = fields >= 2 ? ModeNamed(name) : benchModeCount;
        int p = fields == 3 ? PatternNamed(pattern) : -1;
        if (m == benchModeCount || p == benchPatternCount) {
            printf("wine error: unknown request\n");
            fflush(stdout);
            continue;
        }
        if (text.empty() || textLines != lines || textPattern != p) {
            text = p >= 0 ? MakePatternText(p, lines, 1) : MakeBenchText(lines, 1);
            textLines = lines;
            textPattern = p;
        }
        double ms;
        unsigned long long hash = 0;
        double phase[4] = {0, 0, 0, 0};
        if (!TimeSort(customSort, frequency, text, m, p, &ms, &hash) ||
            !TimePhases(frequency, text, m, p, argv[2], phase))
            status = 1;
        printf("wine mode=%s lines=%u ms=%.1f hash=%016llx keys=%.1f table=%.1f sort=%.1f output=%.1f\n",
               benchModes[m].name, (unsigned)lines, ms, hash, phase[0], phase[1], phase[2], phase[3]);
        fflush(stdout);
    }

    SetCustomFile(hadCustomFile ? saved : NULL, savedBytes, savedType);
    UnhookWindowsHookEx(hook);
    return status;
}
