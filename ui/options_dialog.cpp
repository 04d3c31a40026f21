#include "options_dialog.h"

#include "../engine/order_file.h"
#include "../filter/filter.h"
#include "../filter/options.h"
#include "../res/dialog_texts.h"
#include "../res/resource.h"
#include "browse.h"
#include "help_dialog.h"

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

// The options the dialog's controls stand for.
static SortOptions Shown(HWND dialog)
{
    SortOptions o = {};
    for (const OptionPosition &p : optionPositions)
        o.*p.flag = Checked(dialog, p.control);
    return o;
}

static void Init(HWND dialog, OptionsChoice *choice)
{
    // SetWindowLongPtrA is SetWindowLongA in a 32-bit build.
    SetWindowLongPtrA(dialog, GWLP_USERDATA, (LONG_PTR)choice);
    SortOptions o = DecodeOptions(choice->option);
    if (!o.descending)
        CheckDlgButton(dialog, IDC_ASCENDING, BST_CHECKED);
    for (const OptionPosition &p : optionPositions)
        if (o.*p.flag)
            CheckDlgButton(dialog, p.control, BST_CHECKED);
    SetDlgItemTextA(dialog, IDC_ORDER_PATH, choice->orderPath);
    SendMessageA(dialog, WM_COMMAND, IDC_ORDER_FILE, 0);
}

// The order file is only for Unicode mode. Outside dictionary order it
// replaces the numeric comparison; in dictionary order it orders the kanji
// beside it.
static void ApplyEnabling(HWND dialog)
{
    SortOptions o = Shown(dialog);
    Enable(dialog, IDC_ORDER_FILE, o.unicode);
    bool fileNamed = o.unicode && o.orderFile;
    Enable(dialog, IDC_ORDER_PATH, fileNamed);
    Enable(dialog, IDC_BROWSE, fileNamed);
    bool numericOff = OrderFileOrders(o);
    if (numericOff && o.numeric) {
        MessageBoxA(dialog, MSG_NUMERIC_OFF, DIALOG_CAPTION, MB_ICONINFORMATION | MB_OK);
        CheckDlgButton(dialog, IDC_NUMERIC, BST_UNCHECKED);
    }
    Enable(dialog, IDC_NUMERIC, !numericOff);
}

static void Accept(HWND dialog)
{
    OptionsChoice *choice = (OptionsChoice *)GetWindowLongPtrA(dialog, GWLP_USERDATA);
    EncodeOptions(Shown(dialog), choice->option);
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
        case IDC_DICTIONARY:
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
