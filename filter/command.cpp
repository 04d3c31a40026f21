// One sort command, from the editor's call to the block handed back.
#include <string.h>

#include "../engine/order.h"
#include "../engine/sort.h"
#include "../ui/options_dialog.h"
#include "filter.h"
#include "options.h"
#include "settings.h"

enum { OPTION_CLEARED_BYTES = 16 };

HGLOBAL __cdecl CustomSort(HWND owner, const WCHAR *text, char *option, int optionSize)
{
    // A host that breaks the contract gets nothing rather than a crash that
    // takes the user's unsaved text with it.
    if (!text || !option)
        return NULL;

    orderFilePath[0] = 0;

    HKEY key = OpenSettings();
    if (key) {
        ReadSetting(key, VALUE_CUSTOM_FILE, orderFilePath, ORDER_PATH_SIZE);
        if (option[0]) {
            RegCloseKey(key);
        } else {
            memset(option, 0, OPTION_CLEARED_BYTES);
            if (optionSize > 0)
                ReadSetting(key, VALUE_PARAMETER, option, (DWORD)optionSize);
            INT_PTR chosen = RunOptionsDialog(owner, option);
            // Written back after Cancel too, as read; a missing value is
            // then created empty.
            WriteSetting(key, VALUE_PARAMETER, option);
            WriteSetting(key, VALUE_CUSTOM_FILE, orderFilePath);
            RegCloseKey(key);
            if (chosen != IDOK)
                return NULL;
        }
    }

    HGLOBAL result = Sort(owner, (const Unit16 *)text, DecodeOptions(option));
    ReleaseOrderTable();
    return result;
}
