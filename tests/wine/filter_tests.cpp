// Drives the real Tallorix.vlf as the editor does: its exports, its filter
// record, CustomSort with option strings and the settings in the registry.
#include <windows.h>

#include <string.h>
#include <string>

#include <aclapi.h>

#include "check.h"
#include "settings_access.h"
#include "sort_calls.h"

typedef DWORD(__cdecl *GetVersionFn)(void);
typedef const unsigned char *(__cdecl *EnumFiltersFn)(void);

static void TestExports()
{
    const BYTE *base = (const BYTE *)module;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)(base + ((const IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const IMAGE_EXPORT_DIRECTORY *exp = (const IMAGE_EXPORT_DIRECTORY *)(base + dir.VirtualAddress);
    const DWORD *names = (const DWORD *)(base + exp->AddressOfNames);
    std::string all;
    for (DWORD i = 0; i < exp->NumberOfNames; i++)
        all += std::string((const char *)(base + names[i])) + " ";
    CHECK(all == "CustomSort EnumVeltraneFilter VeltraneFilterGetVersion ", "exports: %s", all.c_str());

    GetVersionFn version = (GetVersionFn)(void *)GetProcAddress(module, "VeltraneFilterGetVersion");
    CHECK(version && version() == 0x20000, "version %lx", version ? version() : 0);
}

static void TestFilterRecord()
{
    EnumFiltersFn enumFilters = (EnumFiltersFn)(void *)GetProcAddress(module, "EnumVeltraneFilter");
    CHECK(enumFilters != NULL, "EnumVeltraneFilter missing");
    if (!enumFilters)
        return;
    const BYTE *rec = enumFilters();
    CHECK(rec == enumFilters(), "the array is static");
    // The record as the editor reads it: a 32-bit size, three pointers and
    // four bytes, each field at its natural place for the module's width.
    const size_t p = sizeof(void *);
    const size_t recordSize = p == 8 ? 40 : 20;
    DWORD size;
    const char *name, *ja, *en;
    memcpy(&size, rec, 4);
    memcpy(&name, rec + p, p);
    memcpy(&ja, rec + 2 * p, p);
    memcpy(&en, rec + 3 * p, p);
    const BYTE *hostBytes = rec + 4 * p;
    CHECK(size == recordSize, "record size %lu", size);
    CHECK(name && strcmp(name, "CustomSort") == 0, "function name");
    // "カスタムソート..." in code page 932.
    static const char caption[] = "\x83\x4A\x83\x58\x83\x5E\x83\x80\x83\x5C\x81\x5B\x83\x67...";
    CHECK(ja && strcmp(ja, caption) == 0, "Japanese caption");
    CHECK(en && strcmp(en, "CustomSort...") == 0, "English caption");
    CHECK(memcmp(hostBytes, "\x53\x01\x00\x00", 4) == 0, "host bytes %02x %02x %02x %02x", hostBytes[0],
          hostBytes[1], hostBytes[2], hostBytes[3]);
    CHECK(p == 4 || memcmp(rec + 4, "\0\0\0\0", 4) == 0, "padding after the size is zero");
    static const BYTE zero[40] = {0};
    CHECK(memcmp(rec + recordSize, zero, recordSize) == 0, "a zero record ends the list");
    CustomSortFn byName = (CustomSortFn)(void *)GetProcAddress(module, name);
    CHECK(byName == customSort, "the record names the sort function");
}

struct SortCase {
    const char *what;
    char option[8];
    const WCHAR *input;
    const WCHAR *expected;
};

static const WCHAR phones[] =
    L"07000001111 Kato\n08011112222 Sato\n0312345678 Suzuki\n09012345678 Tanaka\n0451234567 Yamada\n"
    L"09099998888 Ito";
static const WCHAR phonesByValue[] =
    L"0312345678 Suzuki\n0451234567 Yamada\n07000001111 Kato\n08011112222 Sato\n09012345678 Tanaka\n"
    L"09099998888 Ito\n";
static const WCHAR jan[] = L"4547691689979\n45\n4901234567890\n4987654321098\n4902000000001";
static const WCHAR janByValue[] = L"45\n4547691689979\n4901234567890\n4902000000001\n4987654321098\n";
static const WCHAR janByValueDown[] = L"4987654321098\n4902000000001\n4901234567890\n4547691689979\n45\n";

static void TestOptionStrings()
{
    static const SortCase cases[] = {
        {"ascending", "000000", L"b\na", L"a\nb\n"},
        {"descending", "100000", L"a\nc\nb", L"c\nb\na\n"},
        {"digit 1 alone is descending only", {'1'}, L"a\nB", L"a\nB\n"},
        {"a later flag behind the NUL counts", {'1', 0, '1'}, L"a\nB", L"B\na\n"},
        {"only the digit 1 turns a flag on", "2xyz ", L"b\na", L"a\nb\n"},
        {"ignore case, equal keys exchange", "001000", L"x\nX", L"X\nx\n"},
        {"numeric", "000100", L"ABC100\nABC20", L"ABC20\nABC100\n"},
        {"numeric off", "000000", L"ABC20\nABC100", L"ABC100\nABC20\n"},
        {"numeric over units", "000110", L"ABC100\nABC20", L"ABC20\nABC100\n"},
        // Runs by value at any length: 10- and 11-digit phone numbers, JAN
        // codes of 13 digits and one of 2 (leading zeros do not count).
        {"phone numbers by value", "000100", phones, phonesByValue},
        {"phone numbers by value, units", "000110", phones, phonesByValue},
        {"JAN codes by value", "000100", jan, janByValue},
        {"JAN codes by value, descending", "100110", jan, janByValueDown},
        {"blanks collapsed", "010000", L"ab\na b\na\tb\na   b", L"a b\na\tb\na   b\nab\n"},
        {"blanks kept", "000000", L"ab\na b\na\tb\na   b", L"a\tb\na   b\na b\nab\n"},
        {"code page 932 bytes", "000000", L"\x3042\n\x30FC", L"\x30FC\n\x3042\n"},
        {"UTF-16 units", "000010", L"\x30FC\n\x3042", L"\x3042\n\x30FC\n"},
        {"CR stays in its line", "000000", L"b\r\na\r\nb", L"a\r\nb\nb\r\n"},
        {"empty line first", "000000", L"a\n\nb", L"\na\nb\n"},
        {"one line unchanged", "100000", L"only", L"only"},
        {"one line with LF unchanged", "100000", L"only\n", L"only\n"},
        {"empty text", "100000", L"", L""},
        {"U+00E9 compares as e", "000000", L"f\n\x00E9\nd", L"d\n\x00E9\nf\n"},
        {"U+00E9 by unit", "000010", L"f\n\x00E9\nd", L"d\nf\n\x00E9\n"},
        {"outside CP932 compares as ?", "000000", L"@\n\xD83D\xDE00\n>", L">\n\xD83D\xDE00\n@\n"},
        // The seventh digit, dictionary order: ア before い, which code
        // order puts the other way round. It counts only inside the string.
        {"dictionary order", "0000001", L"\x3044\n\x30A2", L"\x30A2\n\x3044\n"},
        {"a seventh digit behind the NUL does not count", {'0', '0', '0', '0', '0', 0, '1'}, L"\x30A2\n\x3044",
         L"\x3044\n\x30A2\n"},
        {"a seventh digit other than 1", "0000002", L"\x30A2\n\x3044", L"\x3044\n\x30A2\n"},
        {"dictionary order: small kana and the long-sound mark later", "0000001",
         L"\x304D\x3084\x304F\n\x30AB\x30A2\x30C9\n\x304D\x3083\x304F\n\x30AB\x30FC\x30C9",
         L"\x30AB\x30FC\x30C9\n\x30AB\x30A2\x30C9\n\x304D\x3083\x304F\n\x304D\x3084\x304F\n"},
        {"dictionary order: numbers by value, full-width too", "0001001", L"\x7B2C\xFF11\xFF12\x56DE\n\x7B2C\x33\x56DE",
         L"\x7B2C\x33\x56DE\n\x7B2C\xFF11\xFF12\x56DE\n"},
        {"dictionary order, descending", "1000001", L"\x3044\n\x30A2\n\xFF71", L"\x3044\n\xFF71\n\x30A2\n"},
    };
    for (const SortCase &c : cases) {
        Result r = RunSort(c.option, sizeof c.option, c.input);
        CHECK(!r.null && r.text == c.expected, "%s: got \"%s\"", c.what, Narrow(r.text).c_str());
    }
    CHECK(boxCount == 0, "no message box in a plain sort, saw %d", boxCount);
}

static void TestBlockSize()
{
    struct { const WCHAR *input; SIZE_T bytes; } cases[] = {
        {L"b\na", 2 * 3 + 4},    // LF added: the block is full
        {L"b\na\n", 2 * 4 + 4},  // two spare bytes after the NUL
        {L"", 4},
        {L"x", 6},
    };
    for (auto &c : cases) {
        Result r = RunSort("000000", 6, c.input);
        CHECK(r.size == c.bytes, "\"%s\": block of %lu bytes", Narrow(c.input).c_str(), (unsigned long)r.size);
    }
}

// The text lies in a read-only page: any write to it would fault.
static void TestInputNotWritten()
{
    static const WCHAR text[] = L"delta\nAlpha\ncharlie\n  bravo\nalpha";
    WCHAR *page = (WCHAR *)VirtualAlloc(NULL, 4096, MEM_COMMIT, PAGE_READWRITE);
    memcpy(page, text, sizeof text);
    DWORD old;
    VirtualProtect(page, 4096, PAGE_READONLY, &old);
    static const char *options[] = {"000000", "111100", "011110", "101010"};
    for (const char *o : options) {
        Result r = RunSort(o, 6, page);
        CHECK(!r.null && r.text.size() == wcslen(text) + 1, "options %s", o);
    }
    CHECK(memcmp(page, text, sizeof text) == 0, "text unchanged");
    VirtualFree(page, 0, MEM_RELEASE);
}

// The options dialog is cancelled: the command writes both values back as
// read and returns null. (tests/wine/dialog_tests.cpp drives the dialog.)
static void TestDialogPathSettings()
{
    std::string path259(259, 'p');
    std::string long300(300, 'q');
    std::string bytes260(260, 'r');
    const DWORD dwordValue = 0x313131;

    struct Case {
        const char *what;
        const char *parameter;  // NULL: missing
        const char *customFile;
        DWORD fileType;
        DWORD fileBytes;  // 0: the string with its NUL
        const char *optionAfter;
        const char *parameterAfter;
        const char *customFileAfter;
    } cases[] = {
        {"both missing", NULL, NULL, REG_SZ, 0, "", "", ""},
        {"stored choices kept", "000111", "C:\\order.txt", REG_SZ, 0, "000111", "000111", "C:\\order.txt"},
        {"path of 259 characters", "100000", path259.c_str(), REG_SZ, 0, "100000", "100000", path259.c_str()},
        {"path too long", "100000", long300.c_str(), REG_SZ, 0, "100000", "100000", ""},
        {"path without NUL", "1", bytes260.c_str(), REG_SZ, 260, "1", "1", ""},
        {"path of another type", "", (const char *)&dwordValue, REG_DWORD, 4, "", "", ""},
        {"parameter too long for the buffer", long300.c_str(), "x", REG_SZ, 0, "", "", "x"},
    };
    for (const Case &c : cases) {
        SetString("Parameter", c.parameter);
        if (c.customFile)
            SetValue("CustomFile", c.fileType, c.customFile,
                     c.fileBytes ? c.fileBytes : (DWORD)strlen(c.customFile) + 1);
        else
            SetString("CustomFile", NULL);
        char option[256];
        Result r = RunSort("", 0, L"b\na", option);
        CHECK(r.null, "%s: cancelled dialog gives null", c.what);
        CHECK(strcmp(option, c.optionAfter) == 0, "%s: option buffer \"%s\"", c.what, option);
        static const char zero[16] = {0};
        CHECK(memcmp(option + strlen(option), zero, 16 - strlen(option)) == 0, "%s: rest zeroed", c.what);
        CHECK(GetString("Parameter") == c.parameterAfter, "%s: Parameter %s", c.what,
              GetString("Parameter").c_str());
        CHECK(GetString("CustomFile") == c.customFileAfter, "%s: CustomFile %s", c.what,
              GetString("CustomFile").substr(0, 40).c_str());

        // A given option string sorts without touching the values.
        std::string before = GetString("CustomFile");
        Result s = RunSort("000000", 6, L"b\na");
        CHECK(!s.null && s.text == L"a\nb\n", "%s: sort with options", c.what);
        CHECK(GetString("CustomFile") == before, "%s: CustomFile untouched", c.what);
    }
    SetString("Parameter", NULL);
    SetString("CustomFile", NULL);
}

// A new temporary order file of these units (without the NUL); its path.
static std::string WriteOrderFile(const WCHAR *units, DWORD bytes)
{
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "ord", 0, path);
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    CHECK(WriteFile(f, units, bytes, &written, NULL) && written == bytes, "write %s", path);
    CloseHandle(f);
    return path;
}

// The order file named by CustomFile: used in Unicode mode, loaded (and
// its failures shown) without it, and released after every command.
static void TestOrderFileFromRegistry()
{
    static const WCHAR order[] = L"\xFEFF" L"C\r\nB\r\nA\r\n";
    std::string file = WriteOrderFile(order, sizeof order - 2);
    const char *path = file.c_str();

    // "並び順指定ファイルがロード出来ませんでした。" in code page 932.
    static const char openFailed[] =
        "\x95\xC0\x82\xD1\x8F\x87\x8E\x77\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA"
        "\x83\x8D\x81\x5B\x83\x68\x8F\x6F\x97\x88\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5"
        "\x82\xBD\x81\x42";
    struct Case {
        const char *what;
        const char *customFile;
        const char *option;
        const WCHAR *expected;
        const char *message;  // NULL: none
    } cases[] = {
        {"custom order", path, "000011", L"D\nC\nB\nA\n", NULL},
        {"custom order descending", path, "100011", L"A\nB\nC\nD\n", NULL},
        {"custom order wins over numeric", path, "000111", L"D\nC\nB\nA\n", NULL},
        {"next command without the file", path, "000010", L"A\nB\nC\nD\n", NULL},
        {"loaded but unused without Unicode", path, "000001", L"A\nB\nC\nD\n", NULL},
        {"missing file", "Z:\\nonexistent\\order.txt", "000011", L"A\nB\nC\nD\n", openFailed},
        {"missing file outside Unicode mode", "Z:\\nonexistent\\order.txt", "000001", L"A\nB\nC\nD\n", openFailed},
        {"no file named", "", "000011", L"A\nB\nC\nD\n", openFailed},
        {"message even for one line", "", "000011", L"B", openFailed},
    };
    // Another writer holds the file open throughout, as an editor might.
    HANDLE writer = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    CHECK(writer != INVALID_HANDLE_VALUE, "writer: error %lu", GetLastError());
    for (const Case &c : cases) {
        SetString("CustomFile", c.customFile);
        boxCount = 0;
        lastBox[0] = 0;
        bool oneLine = c.expected[1] == 0;
        Result r = RunSort(c.option, 6, oneLine ? L"B" : L"B\nA\nD\nC");
        CHECK(!r.null && r.text == c.expected, "%s: got \"%s\"", c.what, Narrow(r.text).c_str());
        CHECK(boxCount == (c.message ? 1 : 0), "%s: %d messages", c.what, boxCount);
        CHECK(!c.message || strcmp(lastBox, c.message) == 0, "%s: message \"%s\"", c.what, lastBox);
    }
    CloseHandle(writer);
    // The module closed the file after each load.
    CHECK(DeleteFileA(path), "order file still open: error %lu", GetLastError());
    SetString("CustomFile", NULL);
}

// Supplementary characters of one block of 1,024 (one high surrogate) in
// the file's order, not by their low surrogates; unlisted ones first.
static void TestSupplementaryOrderFile()
{
    static const WCHAR order[] = L"\xFEFF\U00020400\r\n\U00020001\r\n\U00020000\r\n";
    std::string path = WriteOrderFile(order, sizeof order - 2);
    SetString("CustomFile", path.c_str());
    static const WCHAR input[] = L"\U00020000\n\U00020001\n\U00020002\n\U00020400\nA";
    static const SortCase cases[] = {
        {"the file's order", "000011", input, L"A\n\U00020002\n\U00020400\n\U00020001\n\U00020000\n"},
        {"the file's order, descending", "100011", input,
         L"\U00020000\n\U00020001\n\U00020400\n\U00020002\nA\n"},
        {"without the file: by units", "000010", input,
         L"A\n\U00020000\n\U00020001\n\U00020002\n\U00020400\n"},
    };
    boxCount = 0;
    for (const SortCase &c : cases) {
        Result r = RunSort(c.option, 6, c.input);
        CHECK(!r.null && r.text == c.expected, "%s: got \"%s\"", c.what, Narrow(r.text).c_str());
    }
    CHECK(boxCount == 0, "supplementary order file: %d messages, last \"%s\"", boxCount, lastBox);
    SetString("CustomFile", NULL);
    CHECK(DeleteFileA(path.c_str()), "order file still open: error %lu", GetLastError());
}

// Without settings the option buffer is used as passed, even when empty,
// and no dialog is shown.
static void TestSettingsKeyUnavailable()
{
    SetString("Parameter", "100000");
    DenySettingsKey(true);
    HKEY probe;
    bool denied = RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &probe, NULL) != ERROR_SUCCESS;
    CHECK(denied, "the settings key could still be opened");
    if (!denied)
        RegCloseKey(probe);

    struct Case {
        const char *what;
        char option[8];
        const WCHAR *input, *expected;
        int messages;
    } cases[] = {
        {"empty string: all off, no dialog", {0}, L"b\na", L"a\nb\n", 0},
        {"bytes behind the empty string count", {0, 0, '1'}, L"X\nx", L"x\nX\n", 0},
        {"no order file named", {0, 0, 0, 0, '1', '1'}, L"b\na", L"a\nb\n", 1},
    };
    for (const Case &c : cases) {
        boxCount = 0;
        char option[256];
        Result r = RunSort(c.option, sizeof c.option, c.input, option);
        CHECK(!r.null && r.text == c.expected, "%s: got \"%s\"", c.what, Narrow(r.text).c_str());
        CHECK(memcmp(option, c.option, sizeof c.option) == 0, "%s: buffer changed", c.what);
        CHECK(boxCount == c.messages, "%s: %d messages", c.what, boxCount);
    }
    DenySettingsKey(false);
    CHECK(GetString("Parameter") == "100000", "Parameter %s", GetString("Parameter").c_str());
    SetString("Parameter", NULL);
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: filter_tests Tallorix.vlf\n");
        return 2;
    }
    if (!LoadModule(argv[1]))
        return CheckSummary();

    TestExports();
    TestFilterRecord();
    TestOptionStrings();
    TestBlockSize();
    TestInputNotWritten();
    TestDialogPathSettings();
    TestOrderFileFromRegistry();
    TestSupplementaryOrderFile();
    TestSettingsKeyUnavailable();

    UnloadModule();
    return CheckSummary();
}
