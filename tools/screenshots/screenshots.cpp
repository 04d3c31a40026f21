// Takes the pictures of docs/: runs CustomSort with an empty option string
// and, as each window of the dialog path comes up, copies it from the
// screen into a BMP file in the current directory.
//
//   screenshots Tallorix.vlf
//
// Writes numeric-message.bmp, options-dialog.bmp and help-dialog.bmp.
#include <windows.h>

#include <stdio.h>

#include "../../filter/settings_key.h"

typedef HGLOBAL(__cdecl *CustomSortFn)(HWND, const WCHAR *, char *, int);


static int written;

// The window with its frame and children, as a 24-bit bottom-up BMP. Read
// from the window's own DC: that is what the window has painted, whether
// or not the display has it yet.
static void Capture(HWND w, const char *name)
{
    RECT r;
    GetWindowRect(w, &r);
    int cx = r.right - r.left, cy = r.bottom - r.top;
    BITMAPINFOHEADER h = {sizeof h, cx, cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    DWORD stride = ((DWORD)cx * 3 + 3) & ~3u;
    h.biSizeImage = stride * cy;
    HDC screen = GetWindowDC(w);
    HDC mem = CreateCompatibleDC(screen);
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(screen, (BITMAPINFO *)&h, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, cx, cy, screen, 0, 0, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER f = {0x4D42, 0, 0, 0, sizeof f + sizeof h};
    f.bfSize = f.bfOffBits + h.biSizeImage;
    FILE *out = fopen(name, "wb");
    if (out && fwrite(&f, sizeof f, 1, out) == 1 && fwrite(&h, sizeof h, 1, out) == 1 &&
        fwrite(bits, h.biSizeImage, 1, out) == 1)
        written++;
    else
        fprintf(stderr, "screenshots: cannot write %s\n", name);
    if (out)
        fclose(out);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(w, screen);
}

static HWND host, pending, helpShot;
static bool optionsShot;

// Second step: the window has been painted and the loop has shown it.
static void CALLBACK Shoot(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    HWND w = pending;
    pending = NULL;
    if (!IsWindow(w))
        return;
    if (GetDlgItem(w, 1003)) {
        if (!optionsShot) {
            optionsShot = true;
            Capture(w, "options-dialog.bmp");
            PostMessageA(GetDlgItem(w, 339), BM_CLICK, 0, 0);
        } else {
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        }
    } else if (GetDlgItem(w, 1006)) {
        helpShot = w;
        Capture(w, "help-dialog.bmp");
        PostMessageA(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    } else if (GetDlgItem(w, 0xFFFF)) {
        Capture(w, "numeric-message.bmp");
        PostMessageA(w, WM_COMMAND, IDOK, 0);
    }
}

// First step: repaint the window once its dialog's loop runs.
static void CALLBACK Paint(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    if (!IsWindow(pending))
        return;
    if (!IsWindowVisible(pending)) {
        SetTimer(NULL, 0, 0, Paint);
        return;
    }
    RedrawWindow(pending, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetTimer(NULL, 0, 0, Shoot);
}

static HHOOK hook;

static LRESULT CALLBACK WatchActivation(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_ACTIVATE && (HWND)w != host && (HWND)w != helpShot) {
        pending = (HWND)w;
        SetTimer(NULL, 0, 0, Paint);
    }
    return CallNextHookEx(hook, code, w, l);
}

static void SetString(HKEY key, const char *name, const char *value)
{
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)value, (DWORD)lstrlenA(value) + 1);
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: screenshots Tallorix.vlf\n");
        return 2;
    }
    HMODULE module = LoadLibraryA(argv[1]);
    CustomSortFn customSort = module ? (CustomSortFn)(void *)GetProcAddress(module, "CustomSort") : NULL;
    if (!customSort) {
        fprintf(stderr, "screenshots: cannot load %s\n", argv[1]);
        return 1;
    }
    // File mode with numeric on: the message first, then the dialog with
    // every control but numeric enabled.
    HKEY key = NULL;
    RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    SetString(key, "Parameter", "010111");
    SetString(key, "CustomFile", "C:\\Veltrane\\BushuKakusuu.txt");

    host = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024, NULL, NULL, NULL, NULL);
    hook = SetWindowsHookExA(WH_CBT, WatchActivation, NULL, GetCurrentThreadId());
    char option[256] = "";
    customSort(host, L"b\na", option, sizeof option);
    UnhookWindowsHookEx(hook);

    RegDeleteValueA(key, "Parameter");
    RegDeleteValueA(key, "CustomFile");
    RegCloseKey(key);
    FreeLibrary(module);
    return written == 3 ? 0 : 1;
}
