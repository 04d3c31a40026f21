#include "options_dialog.h"

// The dialog is not built yet: every run counts as cancelled.
INT_PTR RunOptionsDialog(HWND, char *)
{
    return IDCANCEL;
}
