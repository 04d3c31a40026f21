// Each allocation of a whole command failed in turn, in the test-only
// module TallorixFaults.vlf (the real module's sources with allocations
// that fail on request), called as the editor calls it: with a given
// option string, through the options dialog answered with OK, and without
// settings. The key block and the line table end the command with the
// memory message; the order file's buffer and index leave the sort to go
// on without the order, with its message; the exact finish's rank tree
// leaves the procedure to go on directly to the same text, silently. The
// option buffer and the registry are as after the same command without a
// failure, and every allocation but the result is freed.
//
// Built with -fexec-charset=CP932: the narrow literals are the code page
// 932 texts the message boxes must show.
#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "check.h"
#include "engine/prefix.h"
#include "registry_raw.h"
#include "res/messages.h"
#include "settings_access.h"
#include "sort_calls.h"

typedef void(__cdecl *FailAllocationFn)(long);
typedef long(__cdecl *CountFn)(void);
typedef void(__cdecl *SetGuardBudgetFn)(long long);

static FailAllocationFn failAllocation;
static CountFn allocationsMade, liveAllocations;
static SetGuardBudgetFn setGuardBudget;

enum Kind { ORDER, KEY, TABLE, FINISH };
enum Path { GIVEN, DIALOG, NO_SETTINGS };
static const char *const pathNames[] = {"given", "dialog", "no settings"};

struct Command {
    HGLOBAL block;
    char option[256];
    int boxes;  // message boxes shown
    char box[512];
    int dialogs;
};

static std::string orderPath;

// One command on text, with the option string given, chosen in the dialog
// (stored as Parameter and answered with OK), or given without settings.
static Command Run(Path path, const char *options, const WCHAR *text)
{
    Command c;
    memset(c.option, 0, sizeof c.option);
    if (path == DIALOG) {
        SetString("Parameter", options);
        dialogAnswer = IDOK;
    } else {
        strcpy(c.option, options);
    }
    if (path == NO_SETTINGS)
        DenySettingsKey(true);
    int boxes = boxCount, dialogs = dialogCount;
    lastBox[0] = 0;
    c.block = customSort(NULL, text, c.option, sizeof c.option);
    if (path == NO_SETTINGS)
        DenySettingsKey(false);
    dialogAnswer = IDCANCEL;
    c.boxes = boxCount - boxes;
    c.dialogs = dialogCount - dialogs;
    memcpy(c.box, lastBox, sizeof c.box);
    return c;
}

static std::wstring TextOf(HGLOBAL block)
{
    std::wstring s = (const WCHAR *)GlobalLock(block);
    GlobalUnlock(block);
    return s;
}

static std::string MemoryMessage(size_t bytes)
{
    char text[256];
    wsprintfA(text, MSG_OUT_OF_MEMORY, (unsigned)bytes, (unsigned)ERROR_NOT_ENOUGH_MEMORY);
    return text;
}

static void TestEachAllocation()
{
    const WCHAR *pairs = L"\x3044\x3042" L"b\xD840\xDC00" L"a", *plain = L"zyx";
    const struct Case {
        const char *options;
        const WCHAR *order;  // NULL: no order file
        const WCHAR *text;
        std::vector<Kind> allocations;  // in the order the command makes them
        long long budget;               // of the quicksort's guard: 0 hands over at once
    } cases[] = {
        {"0000000", NULL, L"b\r\na\nc", {KEY, TABLE}, -1},
        {"1111100", NULL, L"B 2\nb  10\na", {KEY, TABLE}, -1},
        {"0000000", NULL, L"one line", {KEY}, -1},
        // File buffer, unit index, pair index, pair blocks, unit weights.
        {"0000110", pairs, L"a\n\xD840\xDC00\n\x3042\nb\n\x3044", {ORDER, ORDER, ORDER, ORDER, ORDER, KEY, TABLE}, -1},
        {"0000110", plain, L"x\ny\nz", {ORDER, ORDER, ORDER, ORDER, KEY, TABLE}, -1},
        // Outside Unicode mode the file is only read and checked.
        {"0000010", plain, L"x\ny\nz", {ORDER, KEY, TABLE}, -1},
        {"0001100", NULL, L"b\na\nb\na\nb\na\nb\na\nb\na", {KEY, TABLE, FINISH}, 0},
        {"0000110", plain, L"x\ny\nx\ny\nz\nx\ny\nx\ny", {ORDER, ORDER, ORDER, ORDER, KEY, TABLE, FINISH}, 0},
        // Dictionary order, its kanji ranked by the file, then on ranks.
        {"0001111", pairs, L"\x30AB\n\xD840\xDC00\n\x304B\x30FC\n\x3042\n\xFF76",
         {ORDER, ORDER, ORDER, ORDER, ORDER, KEY, TABLE}, -1},
        {"0000001", NULL, L"\x304B\n\x30AB\n\x304B\n\x30AB\n\x304B\n\x30AB\n\x304B\n\x30AB\n\x304B\n\x30AB",
         {KEY, TABLE, FINISH}, 0},
    };
    for (const Case &c : cases) {
        std::wstring file = std::wstring(L"\xFEFF") + (c.order ? c.order : L"");
        HANDLE h = CreateFileA(orderPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD wrote = 0;
        WriteFile(h, file.data(), (DWORD)(2 * file.size()), &wrote, NULL);
        CloseHandle(h);
        SetString("CustomFile", c.order ? orderPath.c_str() : "");
        std::string withoutOrder = c.options;
        withoutOrder[5] = '0';
        size_t units = wcslen(c.text), lines = 0;
        for (size_t i = 0; i < units; i++)
            lines += c.text[i] == L'\n';
        lines += c.text[units - 1] != L'\n';

        for (Path path : {GIVEN, DIALOG, NO_SETTINGS}) {
            // Without settings no order file is named: only the sort's own
            // allocations are made.
            if (path == NO_SETTINGS && c.order)
                continue;
            setGuardBudget(c.budget);
            HGLOBAL sortedBlock = Run(path, c.options, c.text).block;
            HGLOBAL unorderedBlock = Run(path, withoutOrder.c_str(), c.text).block;
            std::wstring sorted = sortedBlock ? TextOf(sortedBlock) : L"<null>";
            std::wstring unordered = unorderedBlock ? TextOf(unorderedBlock) : L"<null>";
            GlobalFree(sortedBlock);
            GlobalFree(unorderedBlock);
            // One past the last allocation: nothing fails, and it must be
            // the last.
            for (size_t k = 1; k <= c.allocations.size() + 1; k++) {
                char what[96];
                wsprintfA(what, "%s, %s, %s, failing %u", pathNames[path], c.options,
                          Narrow(c.text).substr(0, 20).c_str(), (unsigned)k);
                long live = liveAllocations(), made = allocationsMade();
                failAllocation((long)k);
                Command r = Run(path, c.options, c.text);
                failAllocation(0);
                long asked = allocationsMade() - made;
                CHECK(k <= c.allocations.size() ? asked >= (long)k : asked == (long)c.allocations.size(),
                      "%s: %ld allocations", what, asked);
                Kind kind = k <= c.allocations.size() ? c.allocations[k - 1] : FINISH;
                if (kind == FINISH) {
                    CHECK(r.block && TextOf(r.block) == sorted && r.boxes == 0, "%s: not sorted, %d boxes: %s", what,
                          r.boxes, r.box);
                } else if (kind == ORDER) {
                    CHECK(r.block && TextOf(r.block) == unordered, "%s: not sorted without the order", what);
                    CHECK(r.boxes == 1 && strcmp(r.box, MSG_ORDER_NO_MEMORY) == 0, "%s: %d boxes, the last \"%s\"",
                          what, r.boxes, r.box);
                } else {
                    size_t bytes = kind == TABLE ? lines * sizeof(SortRecord) : 2 * units + 4;
                    CHECK(!r.block, "%s: a result came back", what);
                    CHECK(r.boxes == 1 && r.box == MemoryMessage(bytes), "%s: %d boxes, the last \"%s\"", what, r.boxes,
                          r.box);
                }
                if (r.block)
                    CHECK(GlobalSize(r.block) == 2 * units + 4, "%s: block of %lu bytes", what,
                          (unsigned long)GlobalSize(r.block));
                CHECK(liveAllocations() - live == (r.block ? 1 : 0), "%s: %ld allocations not freed", what,
                      liveAllocations() - live - (r.block ? 1 : 0));
                GlobalFree(r.block);

                // The option buffer and the settings as after a command
                // that did not fail.
                CHECK(r.dialogs == (path == DIALOG ? 1 : 0), "%s: %d dialogs", what, r.dialogs);
                CHECK(strcmp(r.option, c.options) == 0 && r.option[7] == 0, "%s: option buffer \"%s\"", what,
                      r.option);
                if (path == NO_SETTINGS)
                    continue;
                std::string parameter = path == DIALOG ? c.options : GetString("Parameter");
                CHECK(GetString("Parameter") == parameter, "%s: Parameter \"%s\"", what,
                      GetString("Parameter").c_str());
                CHECK(GetString("CustomFile") == (c.order ? orderPath : ""), "%s: CustomFile \"%s\"", what,
                      GetString("CustomFile").c_str());
            }
            setGuardBudget(-1);
        }
    }
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: fault_tests TallorixFaults.vlf\n");
        return 2;
    }
    FoundSettings found = FindSettings();
    if (!LoadModule(argv[1]))
        return CheckSummary();
    failAllocation = (FailAllocationFn)(void *)GetProcAddress(module, "TallorixFailAllocation");
    allocationsMade = (CountFn)(void *)GetProcAddress(module, "TallorixAllocationsMade");
    liveAllocations = (CountFn)(void *)GetProcAddress(module, "TallorixLiveAllocations");
    setGuardBudget = (SetGuardBudgetFn)(void *)GetProcAddress(module, "TallorixSetGuardBudget");
    CHECK(failAllocation && allocationsMade && liveAllocations && setGuardBudget, "%s has no fault controls", argv[1]);
    if (!failAllocation || !allocationsMade || !liveAllocations || !setGuardBudget)
        return CheckSummary();

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    orderPath = std::string(temp) + "tallorix_faults_" + std::to_string(GetCurrentProcessId()) + ".txt";
    TestEachAllocation();
    DeleteFileA(orderPath.c_str());

    UnloadModule();
    PutBackSettings(found);
    return CheckSummary();
}
