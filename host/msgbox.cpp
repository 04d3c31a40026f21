#include "msgbox.h"

#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "report.h"
#include "utf8.h"

// The static control that holds a message box's text.
enum { BOX_TEXT_ID = 0xFFFF };

static const wchar_t SEEN[] = L"vlfhost.seen";

static HHOOK hook;
static bool answerBoxes;

static bool HasClass(HWND w, const wchar_t *name)
{
    wchar_t c[16];
    return GetClassNameW(w, c, 16) && lstrcmpiW(c, name) == 0;
}

// A message box is a dialog whose controls are all buttons and statics, one
// of them the text static. Returns that static, or NULL for any other
// window.
static HWND BoxText(HWND w)
{
    if (!HasClass(w, L"#32770"))
        return NULL;
    HWND text = NULL;
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (HasClass(c, L"Static")) {
            if ((GetDlgCtrlID(c) & 0xFFFF) == BOX_TEXT_ID && !text)
                text = c;
        } else if (!HasClass(c, L"Button")) {
            return NULL;
        }
    }
    return text;
}

// The control's ANSI text as one UTF-8 line: each CR LF, CR or LF is a
// space.
static char *TextLine(HWND control)
{
    int n = GetWindowTextLengthA(control) + 1;
    char *ansi = (char *)calloc(n, 1);
    if (!ansi)
        return NULL;
    GetWindowTextA(control, ansi, n);
    int units = MultiByteToWideChar(CP_ACP, 0, ansi, -1, NULL, 0);
    wchar_t *wide = units > 0 ? (wchar_t *)calloc(units, sizeof(wchar_t)) : NULL;
    if (wide)
        MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, units);
    free(ansi);
    if (!wide)
        return NULL;
    wchar_t *d = wide;
    for (const wchar_t *s = wide; *s; s++) {
        if (*s == L'\r' && s[1] == L'\n')
            continue;
        *d++ = *s == L'\r' || *s == L'\n' ? L' ' : *s;
    }
    *d = 0;
    char *line = Utf8Dup(wide);
    free(wide);
    return line;
}

static void Notice(HWND w)
{
    HWND text = BoxText(w);
    if (!text || GetPropW(w, SEEN))
        return;
    SetPropW(w, SEEN, (HANDLE)1);

    char *line = TextLine(text);
    fputs("message: ", stderr);
    SayLine(line ? line : "");
    free(line);

    if (answerBoxes) {
        int id = GetDlgItem(w, IDOK) ? IDOK : IDCANCEL;
        PostMessageW(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(w, id));
    }
}

static LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE)
        Notice((HWND)wp);
    else if (code == HCBT_DESTROYWND)
        RemovePropW((HWND)wp, SEEN);
    return CallNextHookEx(hook, code, wp, lp);
}

bool WatchMessageBoxes(bool answer)
{
    answerBoxes = answer;
    hook = SetWindowsHookExW(WH_CBT, CbtProc, NULL, GetCurrentThreadId());
    return hook != NULL;
}

void StopWatching()
{
    if (hook)
        UnhookWindowsHookEx(hook);
    hook = NULL;
}
