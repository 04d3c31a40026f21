// The help dialog, run modally from the options dialog.
#ifndef TALLORIX_UI_HELP_DIALOG_H
#define TALLORIX_UI_HELP_DIALOG_H

#include <windows.h>

// Shows the help text until it is closed.
void RunHelpDialog(HWND owner);

#endif
