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

// The option bytes that a command reads and writes. A host that keeps the
// contract passes 16 bytes or more, and the command works in its buffer
// as it always has. A smaller optionSize is taken at its word: the command
// works on a copy in which every position at or beyond optionSize is off
// (zero), and hands back only the bytes that fit.
//
//   optionSize     bytes read    bytes written back
//   16 or more     the buffer    the buffer (16 cleared, Parameter, 8 after OK)
//   1 to 15        optionSize    optionSize at most, ended by a NUL in them
//   0 or less      none          none: the string counts as empty
struct OptionBytes {
    char *buffer;  // the host's
    int size;      // optionSize
    char *work;    // buffer, or copy
    char copy[OPTION_CLEARED_BYTES];
};

static void TakeOptionBytes(OptionBytes *o, char *buffer, int size)
{
    o->buffer = buffer;
    o->size = size;
    o->work = buffer;
    if (size >= OPTION_CLEARED_BYTES)
        return;
    memset(o->copy, 0, sizeof o->copy);
    if (size > 0)
        memcpy(o->copy, buffer, (size_t)size);
    o->work = o->copy;
}

// Copies the working bytes back into a buffer smaller than 16 bytes. When
// the string does not fit with its NUL (after OK, eight bytes in fewer),
// the digits that fit are kept and the last byte ends them.
static void GiveOptionBytesBack(const OptionBytes *o)
{
    if (o->work == o->buffer || o->size <= 0)
        return;
    memcpy(o->buffer, o->copy, (size_t)o->size);
    if (!memchr(o->buffer, 0, (size_t)o->size))
        o->buffer[o->size - 1] = 0;
}

// Reads the settings and, with an empty option string, lets the user
// choose into o->work. False when the user did not choose OK: nothing is
// to be sorted.
static bool ReadChoices(HWND owner, OptionBytes *o, OrderFile *orderFile)
{
    HKEY key = OpenSettings();
    if (!key)
        return true;  // no settings, no dialog: the buffer as passed
    ReadSetting(key, VALUE_CUSTOM_FILE, orderFile->path, ORDER_PATH_SIZE);
    char *option = o->work;
    if (option[0]) {
        RegCloseKey(key);
        return true;
    }
    memset(option, 0, OPTION_CLEARED_BYTES);
    if (o->size > 0)
        ReadSetting(key, VALUE_PARAMETER, option, (DWORD)o->size);
    INT_PTR chosen = RunOptionsDialog(owner, option, orderFile->path);
    // Written back after Cancel too, as read; a missing value is then
    // created empty.
    WriteSetting(key, VALUE_PARAMETER, option);
    WriteSetting(key, VALUE_CUSTOM_FILE, orderFile->path);
    RegCloseKey(key);
    GiveOptionBytesBack(o);
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
    OptionBytes bytes;
    TakeOptionBytes(&bytes, option, optionSize);
    HGLOBAL result = NULL;
    if (ReadChoices(owner, &bytes, &orderFile))
        result = Sort(owner, (const Unit16 *)text, DecodeOptions(bytes.work), &orderFile);
    ReleaseOrderTable(&orderFile);
    return result;
}
