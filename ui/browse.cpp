#include "browse.h"

#include <commdlg.h>
#include <string.h>

#include "../engine/order_file.h"
#include "../res/dialog_texts.h"

static const char filter[] = BROWSE_FILTER;

void BrowseOrderFile(HWND dialog, int id)
{
    char file[ORDER_PATH_SIZE] = "";
    OPENFILENAMEA ofn;
    memset(&ofn, 0, sizeof ofn);
    // The structure in its earlier, 76-byte form: nothing behind
    // lpTemplateName is read.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = ORDER_PATH_SIZE - 1;
    ofn.lpstrInitialDir = BROWSE_INITIAL_DIR;
    ofn.lpstrTitle = BROWSE_TITLE;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&ofn))
        SetDlgItemTextA(dialog, id, file);
}
