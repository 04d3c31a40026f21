// The options dialog, run modally before a sort.
#ifndef TALLORIX_UI_OPTIONS_DIALOG_H
#define TALLORIX_UI_OPTIONS_DIALOG_H

#include <windows.h>

// Lets the user edit the option buffer and the order file's path
// (ORDER_PATH_SIZE bytes). Returns IDOK after both have been rewritten;
// anything else leaves them unchanged.
INT_PTR RunOptionsDialog(HWND owner, char *option, char *orderPath);

#endif
