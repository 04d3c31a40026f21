// The system's open-file dialog, to pick the order file.
#ifndef TALLORIX_UI_BROWSE_H
#define TALLORIX_UI_BROWSE_H

#include <windows.h>

// Lets the user pick an existing file; on success its full path replaces
// the text of control id of dialog. Cancel or failure changes nothing.
void BrowseOrderFile(HWND dialog, int id);

#endif
