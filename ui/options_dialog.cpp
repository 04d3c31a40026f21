#include "options_dialog.h"

#include "../engine/order_file.h"
#include "../filter/filter.h"
#include "../res/dialog_texts.h"
#include "../res/resource.h"
#include "browse.h"
#include "help_dialog.h"

enum { OPTION_CHARS = 6 };

// The check boxes of option bytes 1 to 5; byte 0 is the radio pair.
static const int flagBoxes[OPTION_CHARS - 1] = {
    IDC_COLLAPSE_BLANKS, IDC_IGNORE_CASE, IDC_NUMERIC, IDC_UNICODE, IDC_ORDER_FILE,
};

static bool Checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

static void Enable(HWND dialog, int id, bool on)
{
    EnableWindow(GetDlgItem(dialog, id), on);
}

// What the dialog edits, kept in its window's user data from
// initialisation on, so that OK can write into it.
struct OptionsChoice {
    char *option;     // the option buffer
    char *orderPath;  // ORDER_PATH_SIZE bytes
};

static void Init(HWND dialog, OptionsChoice *choice)
{
    // SetWindowLongPtrA is SetWindowLongA in a 32-bit build.
    SetWindowLongPtrA(dialog, GWLP_USERDATA, (LONG_PTR)choice);
    const char *option = choice->option;
    CheckDlgButton(dialog, option[0] == '1' ? IDC_DESCENDING : IDC_ASCENDING, BST_CHECKED);
    for (int k = 1; k < OPTION_CHARS; k++)
        if (option[k] == '1')
            CheckDlgButton(dialog, flagBoxes[k - 1], BST_CHECKED);
    SetDlgItemTextA(dialog, IDC_ORDER_PATH, choice->orderPath);
    SendMessageA(dialog, WM_COMMAND, IDC_ORDER_FILE, 0);
}

// The order file is only for Unicode mode, and it replaces the numeric
// comparison.
static void ApplyEnabling(HWND dialog)
{
    bool unicode = Checked(dialog, IDC_UNICODE);
    Enable(dialog, IDC_ORDER_FILE, unicode);
    bool fileMode = unicode && Checked(dialog, IDC_ORDER_FILE);
    Enable(dialog, IDC_ORDER_PATH, fileMode);
    Enable(dialog, IDC_BROWSE, fileMode);
    if (fileMode && Checked(dialog, IDC_NUMERIC)) {
        MessageBoxA(dialog, MSG_NUMERIC_OFF, DIALOG_CAPTION, MB_ICONINFORMATION | MB_OK);
        CheckDlgButton(dialog, IDC_NUMERIC, BST_UNCHECKED);
    }
    Enable(dialog, IDC_NUMERIC, !fileMode);
}

static void Accept(HWND dialog)
{
    OptionsChoice *choice = (OptionsChoice *)GetWindowLongPtrA(dialog, GWLP_USERDATA);
    char *option = choice->option;
    option[0] = Checked(dialog, IDC_DESCENDING) ? '1' : '0';
    for (int k = 1; k < OPTION_CHARS; k++)
        option[k] = Checked(dialog, flagBoxes[k - 1]) ? '1' : '0';
    option[OPTION_CHARS] = 0;
    GetDlgItemTextA(dialog, IDC_ORDER_PATH, choice->orderPath, ORDER_PATH_SIZE);
    EndDialog(dialog, IDOK);
}

static INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        Init(dialog, (OptionsChoice *)lParam);
        return TRUE;  // the system sets the default focus
    case WM_COMMAND:
        // Only clicks: the whole word is the control's ID.
        switch (wParam) {
        case IDOK:
            Accept(dialog);
            break;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            break;
        case IDC_SHOW_HELP:
            RunHelpDialog(dialog);
            break;
        case IDC_UNICODE:
        case IDC_ORDER_FILE:
            ApplyEnabling(dialog);
            break;
        case IDC_BROWSE:
            BrowseOrderFile(dialog, IDC_ORDER_PATH);
            break;
        }
        return FALSE;
    }
    return FALSE;
}

INT_PTR RunOptionsDialog(HWND owner, char *option, char *orderPath)
{
    OptionsChoice choice = {option, orderPath};
    return DialogBoxParamA(moduleInstance, MAKEINTRESOURCEA(IDD_OPTIONS), owner, OptionsDialogProc,
                           (LPARAM)&choice);
}
