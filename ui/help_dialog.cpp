#include "help_dialog.h"

#include "../filter/filter.h"
#include "../res/help_text.h"
#include "../res/resource.h"

static INT_PTR CALLBACK HelpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        HWND text = GetDlgItem(dialog, IDC_HELP_TEXT);
        SetWindowTextA(text, HELP_TEXT);
        SetFocus(text);
        SendMessageA(text, EM_SETSEL, 0, 0);
        return FALSE;  // the focus is set
    }
    case WM_COMMAND:
        if (wParam == IDOK || wParam == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void RunHelpDialog(HWND owner)
{
    DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_HELP), owner, HelpDialogProc, 0);
}
