// One sort command, from the editor's call to the block handed back.
#include <string.h>

#include "../engine/order_file.h"
#include "../engine/sort.h"
#include "../ui/options_dialog.h"
#include "filter.h"
#include "options.h"
#include "settings.h"

// The host's option buffer holds at least 16 bytes; before Parameter is
// read into it they are cleared, so that a shorter stored string leaves
// the later option positions off.
enum { OPTION_CLEARED_BYTES = 16 };

// Reads the settings and, with an empty option string, lets the user
// choose. False when the user did not choose OK: nothing is to be sorted.
static bool ReadChoices(HWND owner, char *option, int optionSize, OrderFile *orderFile)
{
    HKEY key = OpenSettings();
    if (!key)
        return true;  // no settings, no dialog: the buffer as passed
    ReadSetting(key, VALUE_CUSTOM_FILE, orderFile->path, ORDER_PATH_SIZE);
    if (option[0]) {
        RegCloseKey(key);
        return true;
    }
    memset(option, 0, OPTION_CLEARED_BYTES);
    if (optionSize > 0)
        ReadSetting(key, VALUE_PARAMETER, option, (DWORD)optionSize);
    INT_PTR chosen = RunOptionsDialog(owner, option, orderFile->path);
    // Written back after Cancel too, as read; a missing value is then
    // created empty.
    WriteSetting(key, VALUE_PARAMETER, option);
    WriteSetting(key, VALUE_CUSTOM_FILE, orderFile->path);
    RegCloseKey(key);
    return chosen == IDOK;
}

HGLOBAL __cdecl CustomSort(HWND owner, const WCHAR *text, char *option, int optionSize)
{
    // A host that breaks the contract gets nothing rather than a crash that
    // takes the user's unsaved text with it.
    if (!text || !option)
        return NULL;

    // The command's order file: its path from the settings or the dialog,
    // its table from the sort; released here, whatever happened.
    OrderFile orderFile;
    memset(&orderFile, 0, sizeof orderFile);
    HGLOBAL result = NULL;
    if (ReadChoices(owner, option, optionSize, &orderFile))
        result = Sort(owner, (const Unit16 *)text, DecodeOptions(option), &orderFile);
    ReleaseOrderTable(&orderFile);
    return result;
}
