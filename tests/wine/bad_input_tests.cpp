// Bad input through the real Tallorix.vlf, called as the editor calls it,
// with the real registry and real message boxes: settings of the wrong
// type, too long, without their NUL or empty; an order-file path at the
// length limit; order files at the size limit; lone surrogates in every
// mode; texts of line feeds only; lines of a megabyte; a selection of
// 50 MB; 200,000 lines of two keys; in the 32-bit module, a line count
// whose table size wraps; a null text or option buffer, and option
// buffers of fewer than 16 bytes before a no-access page. None may crash,
// hang or lose a line.
//
// Built with -fexec-charset=CP932: the narrow literals are the code page
// 932 texts the message boxes must show. In the wide literals a \x escape
// is followed by a new literal wherever a hex digit comes next.
#include <windows.h>

#include <stdint.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

#include "check.h"
#include "filter/option_table.h"
#include "registry_raw.h"
#include "settings_access.h"
#include "sort_calls.h"
#include "tests/reference/rules.h"

static const char OPEN_FAILED[] = "並び順指定ファイルがロード出来ませんでした。";
static const char TOO_LARGE[] = "並び順指定ファイルが大きすぎます。４メガバイト以下でないとダメです。";

// ---- files --------------------------------------------------------------

static std::string workDir;  // with a trailing backslash
static std::vector<std::string> madeFiles, madeDirs;

static bool WriteBytes(const std::string &path, const std::string &bytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(f);
    madeFiles.push_back(path);
    return ok && written == bytes.size();
}

static std::string Bytes(const std::wstring &units)
{
    return std::string((const char *)units.data(), 2 * units.size());
}

static void RemoveMadeFiles()
{
    for (const std::string &f : madeFiles)
        DeleteFileA(f.c_str());
    for (size_t i = madeDirs.size(); i-- > 0;)
        RemoveDirectoryA(madeDirs[i].c_str());
}

// ---- the options dialog as it opened ---------------------------------------

// The dialog's state when it is shown, read before the hook of sort_calls.h
// cancels it: the option string its controls stand for and the path in 1009.
static HHOOK seenHook;
static char seenOption[OPTION_STRING_LENGTH + 1];
static char seenPath[600];

static LRESULT CALLBACK RecordDialog(int code, WPARAM w, LPARAM l)
{
    HWND d = (HWND)w;
    if (code == HCBT_ACTIVATE && GetDlgItem(d, 1003) && GetDlgItem(d, 1009)) {
        for (int i = 0; i < OPTION_STRING_LENGTH; i++)
            seenOption[i] = IsDlgButtonChecked(d, optionPositions[i].control) == BST_CHECKED ? '1' : '0';
        GetDlgItemTextA(d, 1009, seenPath, sizeof seenPath);
    }
    return CallNextHookEx(seenHook, code, w, l);
}

// An option buffer of the given size at the very end of a read-write page,
// a no-access page behind it: a read or write past its end faults.
static char *GuardedBuffer(size_t bytes)
{
    static BYTE *pages;
    if (!pages) {
        pages = (BYTE *)VirtualAlloc(NULL, 8192, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD old;
        VirtualProtect(pages + 4096, 4096, PAGE_NOACCESS, &old);
    }
    return (char *)pages + 4096 - bytes;
}

struct DialogRun {
    bool null;
    int dialogs;
    std::string option;  // the buffer up to its NUL
    bool tailAsExpected;  // zero behind the string up to keptFrom, the host's bytes after it
};

// An empty option string: the dialog opens and is cancelled. The host's
// bytes from keptFrom on must be left as they were.
static DialogRun RunDialog(size_t bufferBytes, int optionSize, size_t keptFrom = 16)
{
    char *buffer = GuardedBuffer(bufferBytes);
    memset(buffer, 0xAA, bufferBytes);
    buffer[0] = 0;
    memset(seenOption, 0, sizeof seenOption);
    strcpy(seenPath, "<not shown>");
    int before = dialogCount;
    HGLOBAL block = customSort(NULL, L"b\na", buffer, optionSize);
    DialogRun r = {block == NULL, dialogCount - before, std::string(buffer), true};
    if (block)
        GlobalFree(block);
    for (size_t i = r.option.size() + 1; i < bufferBytes; i++)
        if (buffer[i] != (i < keptFrom ? 0 : (char)0xAA))
            r.tailAsExpected = false;
    return r;
}

// The value as the dialog path leaves it: REG_SZ, NUL counted.
static bool StoredAsString(const char *name, const std::string &value)
{
    AnsiValue v = ReadAnsi(name);
    return v.present && v.type == REG_SZ && v.data == value + '\0';
}

static std::string Printable(const std::string &s)
{
    std::string out;
    for (unsigned char c : s.substr(0, 60)) {
        char hex[8];
        if (c >= 0x20 && c < 0x7F) {
            out += (char)c;
        } else {
            wsprintfA(hex, "<%02X>", c);
            out += hex;
        }
    }
    if (s.size() > 60)
        out += "...(" + std::to_string(s.size()) + ")";
    return out;
}

// ---- results ----------------------------------------------------------------

// The result must be exactly the expected text in a block of 2n + 4 bytes.
static void CheckSorted(const char *what, const char *option, const std::wstring &input, const Result &r,
                        const std::wstring &expected)
{
    CHECK(!r.null, "%s, %s: null result", what, option);
    if (r.null)
        return;
    SIZE_T bytes = 2 * input.size() + 4;
    CHECK(r.size == bytes, "%s, %s: block of %lu bytes, not %lu", what, option, (unsigned long)r.size,
          (unsigned long)bytes);
    if (r.text == expected)
        return;
    size_t at = 0;
    while (at < r.text.size() && at < expected.size() && r.text[at] == expected[at])
        at++;
    size_t from = at < 8 ? 0 : at - 8;
    CHECK(false, "%s, %s: %u units, expected %u; first difference at %u: got \"%s\", expected \"%s\"", what,
          option, (unsigned)r.text.size(), (unsigned)expected.size(), (unsigned)at,
          Narrow(r.text.substr(from, 24)).c_str(), Narrow(expected.substr(from, 24)).c_str());
}

static Result SortText(const char *option, const std::wstring &input)
{
    return RunSort(option, strlen(option), input.c_str());
}

// ---- settings ---------------------------------------------------------------

struct StoredValue {
    DWORD type;
    std::string data;
    bool wide;  // written with RegSetValueExW (data is UTF-16 bytes)
};

static const DWORD MISSING = 0xFFFFFFFF;  // a StoredValue's type: no value at all

static void Store(const char *name, const StoredValue &v)
{
    if (v.type == MISSING)
        SetValue(name, REG_SZ, NULL, 0);
    else if (v.wide)
        WriteWide(name, v.type, v.data);
    else
        WriteAnsi(name, v.type, v.data);
}

static bool SameRaw(const RawValue &a, const RawValue &b)
{
    return a.present == b.present && a.type == b.type && a.data == b.data;
}

static std::string orderPath, orderPath259;

// Parameter as the dialog path reads it. A value of another type, too long
// for the buffer, or filling the buffer without its NUL reads as missing;
// a shorter string is taken with or without its NUL. Only the first 16
// bytes are cleared before the read; the read clears the bytes it may
// have written of a value it does not take, and leaves the host's bytes
// after them.
static void TestParameterValues()
{
    const std::string nul(1, '\0');
    struct Case {
        const char *what;
        StoredValue value;
        size_t bufferBytes;
        int optionSize;
        const char *read;  // the string the command reads, "" for missing
        size_t keptFrom = 16;  // the host's bytes from here on stay as they were
    } cases[] = {
        {"missing", {MISSING, "", false}, 256, 256, "", 16},
        {"REG_DWORD", {REG_DWORD, "111" + nul, false}, 256, 256, ""},
        {"REG_BINARY with NUL", {REG_BINARY, "100000" + nul, false}, 256, 256, ""},
        {"REG_BINARY without NUL", {REG_BINARY, "100000", false}, 256, 256, ""},
        {"REG_BINARY of 40 bytes", {REG_BINARY, "100000" + std::string(33, 'x') + nul, false}, 256, 256, "", 40},
        {"40 bytes", {REG_SZ, "100000" + std::string(33, 'x') + nul, false}, 256, 256,
         "100000xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 40},
        {"300 characters", {REG_SZ, "100000" + std::string(294, 'x') + nul, false}, 256, 256, "", 256},
        {"17 bytes in a buffer of 16", {REG_SZ, "100000" + std::string(10, 'x') + nul, false}, 16, 16, ""},
        {"16 bytes in a buffer of 16", {REG_SZ, "100000" + std::string(9, 'x') + nul, false}, 16, 16,
         "100000xxxxxxxxx"},
        {"16 bytes without NUL in a buffer of 16", {REG_SZ, "100000" + std::string(10, 'x'), false}, 16, 16, ""},
        {"without NUL", {REG_SZ, "100000", false}, 256, 256, "100000"},
        {"odd length without NUL", {REG_SZ, "10001", false}, 256, 256, "10001"},
        {"odd length with NUL", {REG_SZ, "1000" + nul, false}, 256, 256, "1000"},
        {"wide, odd length, half a NUL", {REG_SZ, Bytes(L"010000").append(1, '\0'), true}, 256, 256, "010000"},
        {"wide, odd length, last unit cut", {REG_SZ, Bytes(L"0100").substr(0, 7), true}, 256, 256, "010"},
        {"no bytes", {REG_SZ, "", false}, 256, 256, ""},
        {"empty string", {REG_SZ, nul, false}, 256, 256, ""},
        // No byte may be read or written: the string counts as empty.
        {"buffer size 0", {REG_SZ, "100000" + nul, false}, 16, 0, "", 0},
        {"buffer size -1", {REG_SZ, "100000" + std::string(300, 'x') + nul, false}, 16, -1, "", 0},
    };
    for (const Case &c : cases) {
        Store("Parameter", c.value);
        SetString("CustomFile", "C:\\order.txt");
        RawValue parameter = ReadRaw("Parameter");
        if (!c.value.wide && c.value.type == REG_SZ) {
            AnsiValue stored = ReadAnsi("Parameter");
            CHECK(stored.data == c.value.data, "%s: stored as \"%s\"", c.what, Printable(stored.data).c_str());
        }

        // A given option string reads neither value and writes none.
        Result s = SortText("000000", L"b\na");
        CHECK(!s.null && s.text == L"a\nb\n", "%s: sort with options", c.what);
        CHECK(SameRaw(ReadRaw("Parameter"), parameter), "%s: Parameter touched", c.what);

        DialogRun r = RunDialog(c.bufferBytes, c.optionSize, c.keptFrom);
        std::string want(c.read);
        std::string seen = (want + "0000000").substr(0, 7);
        for (char &k : seen)
            k = k == '1' ? '1' : '0';
        CHECK(r.null && r.dialogs == 1, "%s: %d dialogs, null %d", c.what, r.dialogs, r.null);
        CHECK(seen == seenOption, "%s: dialog opened on \"%s\", not \"%s\"", c.what, seenOption, seen.c_str());
        CHECK(r.option == want, "%s: option buffer \"%s\", not \"%s\"", c.what, Printable(r.option).c_str(),
              c.read);
        CHECK(r.tailAsExpected, "%s: option buffer not zeroed behind its string up to byte %u, or the host's bytes after it changed",
              c.what, (unsigned)c.keptFrom);
        CHECK(StoredAsString("Parameter", want), "%s: Parameter left as \"%s\", not \"%s\"", c.what,
              Printable(GetString("Parameter")).c_str(), c.read);
        CHECK(StoredAsString("CustomFile", "C:\\order.txt"), "%s: CustomFile %s", c.what,
              Printable(GetString("CustomFile")).c_str());
    }
    CHECK(boxCount == 0, "messages while reading Parameter: %d", boxCount);
}

// CustomFile as both paths read it: with a given option string the order
// file it names sorts, or the open-failure message is shown; after the
// dialog it is written back as read. A value of another type, or too long
// for its 260 bytes, reads as missing; a shorter string is taken with or
// without its NUL.
static void TestCustomFileValues()
{
    const std::string nul(1, '\0');
    // Names no file, and its first 259 characters name none either.
    std::string unterminated260 = orderPath259.substr(0, 258) + "qx";
    std::string pathWide = Bytes(std::wstring(orderPath.begin(), orderPath.end()));
    struct Case {
        const char *what;
        StoredValue value;
        std::string read;  // the path the command reads, "" for missing
        std::string alsoSafe;  // another reading that is sound, if any
    } cases[] = {
        {"REG_DWORD", {REG_DWORD, "C:\\" + nul, false}, "", ""},
        {"REG_BINARY holding a path", {REG_BINARY, orderPath + nul, false}, "", ""},
        {"without NUL", {REG_SZ, orderPath, false}, orderPath, ""},
        {"259 characters", {REG_SZ, orderPath259 + nul, false}, orderPath259, ""},
        {"260 bytes without NUL", {REG_SZ, unterminated260, false}, "", unterminated260.substr(0, 259)},
        {"260 characters and NUL", {REG_SZ, orderPath259 + "x" + nul, false}, "", ""},
        {"300 bytes", {REG_SZ, orderPath259 + std::string(40, 'y') + nul, false}, "", ""},
        {"wide, odd length, half a NUL", {REG_SZ, pathWide + nul, true}, orderPath, ""},
        {"wide, odd length, last unit cut", {REG_SZ, pathWide.substr(0, pathWide.size() - 1), true},
         orderPath.substr(0, orderPath.size() - 1), ""},
        {"no bytes", {REG_SZ, "", false}, "", ""},
        {"empty string", {REG_SZ, nul, false}, "", ""},
    };
    const std::wstring input = L"B\nA\nD\nC";
    for (const Case &c : cases) {
        Store("CustomFile", c.value);
        SetString("Parameter", "000000");
        RawValue file = ReadRaw("CustomFile"), parameter = ReadRaw("Parameter");
        if (!c.value.wide && c.value.type == REG_SZ) {
            AnsiValue stored = ReadAnsi("CustomFile");
            CHECK(stored.data == c.value.data, "%s: stored as \"%s\"", c.what, Printable(stored.data).c_str());
        }

        bool names = c.read == orderPath || c.read == orderPath259;
        boxCount = 0;
        lastBox[0] = 0;
        Result s = SortText("000011", input);
        CheckSorted(c.what, "000011", input, s, names ? L"D\nC\nB\nA\n" : L"A\nB\nC\nD\n");
        CHECK(boxCount == (names ? 0 : 1), "%s: %d messages", c.what, boxCount);
        CHECK(names || strcmp(lastBox, OPEN_FAILED) == 0, "%s: message \"%s\"", c.what, lastBox);
        CHECK(SameRaw(ReadRaw("CustomFile"), file), "%s: CustomFile touched", c.what);
        CHECK(SameRaw(ReadRaw("Parameter"), parameter), "%s: Parameter touched", c.what);

        DialogRun r = RunDialog(256, 256);
        bool safe = seenPath == c.read || (!c.alsoSafe.empty() && seenPath == c.alsoSafe);
        CHECK(r.null && r.dialogs == 1, "%s: %d dialogs, null %d", c.what, r.dialogs, r.null);
        CHECK(safe, "%s: dialog opened on the path \"%s\", not \"%s\"", c.what, Printable(seenPath).c_str(),
              Printable(c.read).c_str());
        CHECK(StoredAsString("CustomFile", seenPath), "%s: CustomFile left as \"%s\"", c.what,
              Printable(GetString("CustomFile")).c_str());
        CHECK(StoredAsString("Parameter", "000000"), "%s: Parameter %s", c.what,
              Printable(GetString("Parameter")).c_str());
    }
}

// ---- option buffers smaller than 16 bytes ------------------------------------

// An optionSize of 1 to 15, the buffer at the end of its page: the command
// reads and writes only those bytes. Positions at or beyond optionSize are
// off, bytes behind the terminator within it count; the dialog's choice
// drives the sort, and the buffer gets the digits that fit with a NUL.
static void TestSmallOptionBuffers()
{
    static const WCHAR text[] = L"b\nA\na10\na9\n a\nB\n";
    boxCount = 0;
    SetString("CustomFile", orderPath.c_str());
    for (int n = 1; n < 16; n++) {
        // A given string: "1", then digits behind its NUL up to the end.
        static const char given[16] = {'1', 0, '1', '0', '1', '1', '1', '1', '1', '1', '1', '1', '1', '1', '1', '1'};
        char *buffer = GuardedBuffer((size_t)n);
        memcpy(buffer, given, (size_t)n);
        char decoded[7] = "000000";
        for (int k = 0; k < 6 && k < n; k++)
            decoded[k] = given[k] == '1' ? '1' : '0';
        Result want = SortText(decoded, text);
        int boxes = boxCount, dialogs = dialogCount;
        Result got = TakeBlock(customSort(NULL, text, buffer, n));
        CHECK(!got.null && got.text == want.text, "given, size %d: not sorted as %s", n, decoded);
        CHECK(memcmp(buffer, given, (size_t)n) == 0, "given, size %d: buffer changed", n);
        CHECK(boxCount - boxes == 0 && dialogCount == dialogs, "given, size %d: %d boxes, %d dialogs", n,
              boxCount - boxes, dialogCount - dialogs);

        // The dialog, cancelled: Parameter of 7 bytes is read where it fits.
        SetString("Parameter", "110100");
        std::string read = n >= 7 ? "110100" : "";
        DialogRun r = RunDialog((size_t)n, n, (size_t)n);
        CHECK(r.null && r.dialogs == 1, "cancel, size %d: %d dialogs, null %d", n, r.dialogs, r.null);
        CHECK(r.option == read && r.tailAsExpected, "cancel, size %d: buffer \"%s\"", n,
              Printable(r.option).c_str());
        CHECK(StoredAsString("Parameter", read), "cancel, size %d: Parameter \"%s\"", n,
              Printable(GetString("Parameter")).c_str());

        // The dialog, OK on "1" as read: descending sorts, Parameter keeps
        // the whole choice, the buffer what fits of it.
        SetString("Parameter", "1");
        std::string chosen = n >= 2 ? "1000000" : "0000000";
        char *ok = GuardedBuffer((size_t)n);
        memset(ok, 0xAA, (size_t)n);
        ok[0] = 0;
        dialogAnswer = IDOK;
        dialogs = dialogCount;
        got = TakeBlock(customSort(NULL, text, ok, n));
        dialogAnswer = IDCANCEL;
        want = SortText(chosen.c_str(), text);
        std::string back = chosen.substr(0, n - 1 < 7 ? n - 1 : 7);
        CHECK(dialogCount - dialogs == 1 && !got.null && got.text == want.text, "OK, size %d: not sorted as %s", n,
              chosen.c_str());
        CHECK(memcmp(ok, back.c_str(), back.size() + 1) == 0, "OK, size %d: buffer \"%s\", not \"%s\"", n,
              Printable(std::string(ok, strnlen(ok, (size_t)n))).c_str(), back.c_str());
        CHECK(StoredAsString("Parameter", chosen), "OK, size %d: Parameter \"%s\"", n,
              Printable(GetString("Parameter")).c_str());
    }
    CHECK(boxCount == 0, "messages with small option buffers: %d, the last \"%s\"", boxCount, lastBox);
}

// ---- texts --------------------------------------------------------------------

struct TextCase {
    const char *what;
    const char *option;
    const std::string *orderFile;  // CustomFile for the case, NULL: none
    std::wstring input, expected;
};

static void RunTextCases(const TextCase *cases, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        const TextCase &c = cases[i];
        SetString("CustomFile", c.orderFile ? c.orderFile->c_str() : NULL);
        boxCount = 0;
        Result r = SortText(c.option, c.input);
        CheckSorted(c.what, c.option, c.input, r, c.expected);
        CHECK(boxCount == 0, "%s, %s: %d messages, last \"%s\"", c.what, c.option, boxCount, lastBox);
    }
    SetString("CustomFile", NULL);
}

// Order files with surrogates, lone ones included.
static std::string pairsOrder, tailOrder;

static void MakeSurrogateOrderFiles()
{
    // Units: mark 0, DC00 1, B 2, D800 DC01 3 and 4, A 5, D800 6.
    pairsOrder = workDir + "pairs.txt";
    CHECK(WriteBytes(pairsOrder, Bytes(L"\xFEFF\xDC00\r\nB\r\n\xD800\xDC01\r\nA\r\n\xD800")), "write %s",
          pairsOrder.c_str());
    // Units: mark 0, b 1, DC05 2, a 3, D800 4 (a high surrogate ends the
    // table), then an odd byte.
    tailOrder = workDir + "tail.txt";
    CHECK(WriteBytes(tailOrder, Bytes(L"\xFEFF" L"b\n\xDC05\na\n\xD800") + "Z"), "write %s", tailOrder.c_str());
}

static void TestLoneSurrogates()
{
    // Code page 932 has no surrogates: each lone one compares as "?".
    const std::wstring cp932 = L"@\na>\n\xDC00x\n\xD800\na@\n>\na\xDBFF";
    const std::wstring cp932Up = L">\n\xD800\n\xDC00x\n@\na>\na\xDBFF\na@\n";
    const std::wstring cp932Down = L"a@\na\xDBFF\na>\n@\n\xDC00x\n\xD800\n>\n";
    const std::wstring units = L"\xDC00\na\xD800\n\xD83D\xDE00\nz\n\xD800\n\xDFFF\n\xDBFF";
    const std::wstring unitsUp = L"a\xD800\nz\n\xD800\n\xD83D\xDE00\n\xDBFF\n\xDC00\n\xDFFF\n";
    const std::wstring unitsDown = L"\xDFFF\n\xDC00\n\xDBFF\n\xD83D\xDE00\n\xD800\nz\na\xD800\n";
    // Ranks: C none, DC00 1, B 2, a lone D800 3 (inside the pair), the
    // pair 3, a lone DC01 4, A 5.
    const std::wstring pairs = L"A\n\xD800\xDC01\n\xDC01\nC\n\xDC00\nB\n\xD800";
    const std::wstring pairsUp = L"C\n\xDC00\nB\n\xD800\n\xD800\xDC01\n\xDC01\nA\n";
    const std::wstring pairsDown = L"A\n\xDC01\n\xD800\xDC01\n\xD800\nB\n\xDC00\nC\n";
    // Ranks: b 1, DC05 2, a 3; the pair D800 DC05 is not listed (its high
    // surrogate is the table's last unit), nor are c, D7FF and DBFF.
    const std::wstring tail = L"a\n\xDC05\n\xD800\xDC05\nb\nc\n\xD7FF\n\xDBFF";
    const std::wstring tailUp = L"c\n\xD7FF\n\xD800\xDC05\n\xDBFF\nb\n\xDC05\na\n";

    const TextCase cases[] = {
        {"CP932, lone surrogates", "000000", NULL, cp932, cp932Up},
        {"CP932, lone surrogates", "100000", NULL, cp932, cp932Down},
        {"CP932, order file loaded, unused", "000001", &tailOrder, cp932, cp932Up},
        {"CP932, lone surrogates, blanks and case", "011000", NULL,
         L"b\xDFFF" L"c\nB\xD800 d\nb\xD800\t\tc\nA", L"A\nb\xD800\t\tc\nB\xD800 d\nb\xDFFF" L"c\n"},
        {"CP932, lone surrogates, numeric", "000100", NULL, L"\xDC00" L"10\n10\n\xD800" L"9\n8\xDBFF",
         L"8\xDBFF\n10\n\xD800" L"9\n\xDC00" L"10\n"},
        {"units, lone surrogates", "000010", NULL, units, unitsUp},
        {"units, lone surrogates", "100010", NULL, units, unitsDown},
        {"units, lone surrogates, numeric", "000110", NULL,
         L"\xD800" L"10\n9\xDBFF\n\xD800\n1\xD800\n\xD800" L"2\n10\xDC00",
         L"1\xD800\n9\xDBFF\n10\xDC00\n\xD800\n\xD800" L"2\n\xD800" L"10\n"},
        {"units, lone surrogates, blanks and case", "011010", NULL, L"b\xDC00\nB\xD800\t x\na\xDBFF",
         L"a\xDBFF\nB\xD800\t x\nb\xDC00\n"},
        {"custom order, lone surrogates", "000011", &pairsOrder, pairs, pairsUp},
        {"custom order, lone surrogates", "100011", &pairsOrder, pairs, pairsDown},
        {"custom order wins over numeric", "000111", &pairsOrder, pairs, pairsUp},
        {"custom order, table ending in a high surrogate", "000011", &tailOrder, tail, tailUp},
    };
    RunTextCases(cases, sizeof cases / sizeof cases[0]);

    // Texts of one line come back unchanged; an empty line sorts first
    // (last when descending).
    static const char *modes[] = {"000000", "100000", "011100", "000010", "100110", "000011", "100011"};
    for (const char *m : modes) {
        bool down = m[0] == '1';
        const TextCase shortCases[] = {
            {"one lone high surrogate", m, &pairsOrder, L"\xD800", L"\xD800"},
            {"one lone low surrogate and LF", m, &pairsOrder, L"\xDC00\n", L"\xDC00\n"},
            {"empty line and lone low surrogate", m, &pairsOrder, L"\n\xDC00",
             down ? L"\xDC00\n\n" : L"\n\xDC00\n"},
            {"lone high surrogate and empty line", m, &pairsOrder, L"\xDBFF\n\n",
             down ? L"\xDBFF\n\n" : L"\n\xDBFF\n"},
        };
        RunTextCases(shortCases, sizeof shortCases / sizeof shortCases[0]);
    }
}

// Every line empty: the text comes back as it was, in every mode.
static void TestOnlyLineFeeds()
{
    static const char *modes[] = {"000000", "100000", "011100", "000010", "110110", "000011", "100011"};
    static const size_t counts[] = {1, 2, 3, 9, 1000000};
    for (size_t k : counts) {
        std::wstring text(k, L'\n');
        std::string what = std::to_string(k) + " LFs";
        for (const char *m : modes) {
            const TextCase c = {what.c_str(), m, &pairsOrder, text, text};
            RunTextCases(&c, 1);
        }
    }
}

// Lines of a megabyte (524,288 units): long common starts, a blank run of
// a megabyte, a digit run of a megabyte, double-byte characters filling
// the code-page-932 key to its limit.
static void TestMegabyteLines()
{
    const size_t M = 524288;
    std::wstring x(M, L'x'), xs(M - 1, L'x');
    std::wstring units1 = xs + L"y", units2 = xs + L"\xD800", units3 = x, units4 = xs;
    std::wstring kana(M, L'\x3042'), kanas(M - 1, L'\x3042');
    std::wstring kana1 = kana, kana2 = kanas + L"a", kana3 = kanas + L"\x30FC";
    // U+30C2 is 83 61 in code page 932, U+30A2 is 83 41: folding the second
    // byte would make the first line sort after the second.
    std::wstring trail61(M, L'\x30C2'), trail41 = std::wstring(M, L'\x30A2') + L"b";
    std::wstring zeros = std::wstring(M - 1, L'0') + L"7b";
    std::wstring blanks = L"a";
    for (size_t i = 0; i < M / 2; i++)
        blanks += L" \t";
    blanks += L"b";
    std::wstring c(M, L'C');

    const TextCase cases[] = {
        {"long common starts", "000010", NULL, units1 + L"\n" + units2 + L"\n" + units3 + L"\n" + units4,
         units4 + L"\n" + units3 + L"\n" + units1 + L"\n" + units2 + L"\n"},
        {"long common starts", "100010", NULL, units1 + L"\n" + units2 + L"\n" + units3 + L"\n" + units4,
         units2 + L"\n" + units1 + L"\n" + units3 + L"\n" + units4 + L"\n"},
        {"double-byte lines", "000000", NULL, kana1 + L"\n" + kana3 + L"\n" + kana2,
         kana2 + L"\n" + kana3 + L"\n" + kana1 + L"\n"},
        {"double-byte lines, case folded", "001000", NULL, kana1 + L"\n" + kana3 + L"\n" + kana2,
         kana2 + L"\n" + kana3 + L"\n" + kana1 + L"\n"},
        {"second bytes in a-z, case folded", "001000", NULL, trail61 + L"\n" + trail41,
         trail41 + L"\n" + trail61 + L"\n"},
        {"a megabyte of leading zeros", "000100", NULL, L"8\n" + zeros + L"\n7a\n",
         L"7a\n" + zeros + L"\n8\n"},
        {"a megabyte of leading zeros", "000110", NULL, L"8\n" + zeros + L"\n7a\n",
         L"7a\n" + zeros + L"\n8\n"},
        {"a megabyte of blanks", "010000", NULL, L"a c\n" + blanks + L"\na a", L"a a\n" + blanks + L"\na c\n"},
        {"a megabyte of blanks", "010010", NULL, L"a c\n" + blanks + L"\na a", L"a a\n" + blanks + L"\na c\n"},
        {"long common starts, custom order", "000011", &pairsOrder,
         c + L"A\n" + c + L"B\n" + c + L"\xDC00", c + L"\xDC00\n" + c + L"B\n" + c + L"A\n"},
    };
    RunTextCases(cases, sizeof cases / sizeof cases[0]);
}

// Order files at the size limit: 4,194,303 bytes are read (the final odd
// byte is no unit), 4,194,304 bytes are too large.
static void TestOrderFileSize()
{
    std::string repeatedA = workDir + "a4194303.txt";
    std::string repeatedSpace = workDir + "space4194303.txt";
    std::string tooLarge = workDir + "a4194304.txt";
    std::wstring a(2097150, L'A'), spaces(2097150, L' ');
    CHECK(WriteBytes(repeatedA, Bytes(L"\xFEFF" + a) + "A"), "write %s", repeatedA.c_str());
    CHECK(WriteBytes(repeatedSpace, Bytes(L"\xFEFF" + spaces) + " "), "write %s", repeatedSpace.c_str());
    CHECK(WriteBytes(tooLarge, Bytes(L"\xFEFF" + a + L"A")), "write %s", tooLarge.c_str());

    struct Case {
        const char *what;
        const std::string *file;
        const char *option;
        const WCHAR *input, *expected;
        const char *message;
    } cases[] = {
        {"4,194,303 bytes of A", &repeatedA, "000011", L"B\nA\nC", L"B\nC\nA\n", NULL},
        {"4,194,303 bytes of A, descending", &repeatedA, "100011", L"B\nA\nC", L"A\nC\nB\n", NULL},
        {"4,194,303 bytes of SPACE: no order", &repeatedSpace, "000011", L"B\nA\nC", L"A\nB\nC\n", NULL},
        {"4,194,304 bytes", &tooLarge, "000011", L"B\nA\nC", L"A\nB\nC\n", TOO_LARGE},
        {"4,194,304 bytes, outside Unicode mode", &tooLarge, "000001", L"B\nA\nC", L"A\nB\nC\n", TOO_LARGE},
        {"4,194,304 bytes, empty text", &tooLarge, "000011", L"", L"", TOO_LARGE},
    };
    for (const Case &c : cases) {
        SetString("CustomFile", c.file->c_str());
        boxCount = 0;
        lastBox[0] = 0;
        Result r = SortText(c.option, c.input);
        CheckSorted(c.what, c.option, c.input, r, c.expected);
        CHECK(boxCount == (c.message ? 1 : 0), "%s: %d messages", c.what, boxCount);
        CHECK(!c.message || strcmp(lastBox, c.message) == 0, "%s: message \"%s\"", c.what, lastBox);
    }
    SetString("CustomFile", NULL);
}

// An order file at a path of exactly 259 characters, the longest the
// 260-byte path holds.
static bool MakeLongPathOrderFile()
{
    std::string dir = workDir + std::string(200 - workDir.size(), 'd');
    // One left by a run that was stopped half-way is taken as it is.
    if (!CreateDirectoryA(dir.c_str(), NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
        CHECK(false, "directory %s: error %lu", dir.c_str(), GetLastError());
        return false;
    }
    madeDirs.push_back(dir);
    orderPath259 = dir + "\\" + std::string(259 - dir.size() - 1 - 4, 'f') + ".txt";
    CHECK(orderPath259.size() == 259, "path of %u characters", (unsigned)orderPath259.size());
    bool made = WriteBytes(orderPath259, Bytes(L"\xFEFF" L"C\r\nB\r\nA\r\n"));
    CHECK(made, "order file at 259 characters: error %lu", GetLastError());
    return made;
}

static void TestLongPath()
{
    const TextCase cases[] = {
        {"order file at 259 characters", "000011", &orderPath259, L"B\nA\nD\nC", L"D\nC\nB\nA\n"},
        {"order file at 259 characters", "100011", &orderPath259, L"B\nA\nD\nC", L"A\nB\nC\nD\n"},
    };
    RunTextCases(cases, 2);

    SetString("CustomFile", orderPath259.c_str());
    SetString("Parameter", "000011");
    DialogRun r = RunDialog(256, 256);
    CHECK(r.null && r.dialogs == 1, "259: %d dialogs", r.dialogs);
    CHECK(orderPath259 == seenPath, "259: dialog opened on \"%s\"", Printable(seenPath).c_str());
    CHECK(strcmp(seenOption, "0000110") == 0, "259: dialog opened on \"%s\"", seenOption);
    CHECK(StoredAsString("CustomFile", orderPath259), "259: CustomFile %s",
          Printable(GetString("CustomFile")).c_str());
    SetString("Parameter", NULL);
    SetString("CustomFile", NULL);
}

// ---- a selection of 50 MB ---------------------------------------------------

struct LineView {
    const WCHAR *start;
    size_t length;
};

static bool UnitsBefore(const LineView &a, const LineView &b)
{
    size_t n = std::min(a.length, b.length);
    for (size_t i = 0; i < n; i++)
        if (a.start[i] != b.start[i])
            return a.start[i] < b.start[i];
    return a.length < b.length;
}

static bool SameLine(const LineView &a, const LineView &b)
{
    return a.length == b.length && memcmp(a.start, b.start, 2 * a.length) == 0;
}

// Splits at LF; *terminated tells whether every line ended with one.
static std::vector<LineView> SplitLines(const std::wstring &text, bool *terminated)
{
    std::vector<LineView> lines;
    lines.reserve(text.size() / 8);
    size_t start = 0;
    for (size_t i = 0; i < text.size(); i++)
        if (text[i] == L'\n') {
            lines.push_back(LineView{text.data() + start, i - start});
            start = i + 1;
        }
    *terminated = start == text.size();
    if (start < text.size())
        lines.push_back(LineView{text.data() + start, text.size() - start});
    return lines;
}

// 25,000,000 units in lines of 0 to 23 units from a small alphabet (so that
// many lines repeat), with blanks, digits, CR, kana, full-width letters and
// lone surrogates; the last line has no LF.
static std::wstring LargeSelection()
{
    static const WCHAR alphabet[] = L"abcABC0123 \t\r\x3042\x30FC\xFF21\xD800\xDC00\xFFFF";
    const size_t letters = sizeof alphabet / sizeof alphabet[0] - 1;
    const size_t n = 25000000;
    std::wstring text;
    text.reserve(n + 1);
    uint32_t seed = 20240611;
    while (text.size() < n) {
        seed = seed * 1103515245u + 12345u;
        size_t length = (seed >> 16) % 24;
        for (size_t i = 0; i < length && text.size() < n; i++) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % letters];
        }
        if (text.size() < n - 1)
            text += L'\n';
    }
    if (text.back() == L'\n')
        text.back() = L'x';
    return text;
}

static void TestLargeSelection()
{
    std::wstring text = LargeSelection();
    bool inputTerminated;
    std::vector<LineView> sortedInput = SplitLines(text, &inputTerminated);
    std::sort(sortedInput.begin(), sortedInput.end(), UnitsBefore);
    printf("50 MB selection: %u units, %u lines\n", (unsigned)text.size(), (unsigned)sortedInput.size());

    // Code-unit order: equal keys are equal lines, so the result is the
    // input's lines sorted. Byte keys with every option: a permutation.
    static const char *modes[] = {"000010", "011100"};
    for (const char *m : modes) {
        char option[256] = {0};
        memcpy(option, m, 6);
        HGLOBAL block = customSort(NULL, text.c_str(), option, sizeof option);
        CHECK(block != NULL, "50 MB, %s: null result", m);
        if (!block)
            continue;
        CHECK(GlobalSize(block) == 2 * text.size() + 4, "50 MB, %s: block of %lu bytes", m,
              (unsigned long)GlobalSize(block));
        std::wstring out((const WCHAR *)GlobalLock(block));
        GlobalUnlock(block);
        GlobalFree(block);
        CHECK(out.size() == text.size() + 1, "50 MB, %s: %u units back", m, (unsigned)out.size());

        bool terminated;
        std::vector<LineView> lines = SplitLines(out, &terminated);
        CHECK(terminated, "50 MB, %s: last line without LF", m);
        CHECK(lines.size() == sortedInput.size(), "50 MB, %s: %u lines back of %u", m, (unsigned)lines.size(),
              (unsigned)sortedInput.size());
        if (strcmp(m, "000010") != 0)
            std::sort(lines.begin(), lines.end(), UnitsBefore);
        size_t wrong = 0, first = 0;
        for (size_t i = 0; i < lines.size() && i < sortedInput.size(); i++)
            if (!SameLine(lines[i], sortedInput[i]) && wrong++ == 0)
                first = i;
        CHECK(wrong == 0, "50 MB, %s: %u lines out of place, first at %u", m, (unsigned)wrong, (unsigned)first);
    }
}

// 200,000 lines of two keys. Such tables drove the procedure quadratic;
// the module must still put every line where the procedure does. 済 and 未
// numbered and with blanks collapsed (未 sorts after 済 in code page 932);
// two JAN codes by value, as they are and numbered; these are of 13 digits,
// beyond 2^31.
static void TestTwoKeys()
{
    const size_t n = 200000;
    KeyLines kanji = MakeKeyLines({L"\x6E08", L"\x672A"}, n, true);
    CheckProcedureResult("two keys", "010000", kanji, [](size_t i, size_t j) { return (int)i - (int)j; });

    const std::vector<std::wstring> jan = {L"4901234567890", L"4547691689979"};
    for (bool numbered : {false, true}) {
        KeyLines k = MakeKeyLines(jan, n, numbered);
        auto cmp = [&](size_t i, size_t j) { return RefNumeric(jan[i].c_str(), jan[j].c_str()); };
        CheckProcedureResult("two JAN codes", numbered ? "010100" : "000100", k, cmp);
        CheckProcedureResult("two JAN codes", numbered ? "110110" : "100110", k,
                             [&](size_t i, size_t j) { return cmp(j, i); });
    }
}

// The 32-bit module's line table for 178,956,971 lines would take
// 178,956,971 * 24 bytes, which wraps to 8: the sort must end with the
// memory message and a null result, not fill a table of 8 bytes.
static void TestTableSizeThatWraps()
{
    if (sizeof(void *) != 4)
        return;  // no such wrap in the 64-bit module
    const size_t n = 178956971;
    WCHAR *text = (WCHAR *)VirtualAlloc(NULL, 2 * (n + 1), MEM_COMMIT, PAGE_READWRITE);
    CHECK(text != NULL, "no room for %u line feeds", (unsigned)n);
    if (!text)
        return;
    for (size_t i = 0; i < n; i++)
        text[i] = L'\n';
    text[n] = 0;
    boxCount = 0;
    Result r = RunSort("000010", 6, text);
    VirtualFree(text, 0, MEM_RELEASE);
    static const char message[] = "VlfSort.vlf: Not enough memory, size=4294967295 error-code=";
    CHECK(r.null, "%u line feeds: a result came back", (unsigned)n);
    CHECK(boxCount == 1 && strncmp(lastBox, message, sizeof message - 1) == 0,
          "%u line feeds: %d message boxes, the last \"%s\"", (unsigned)n, boxCount, lastBox);
    boxCount = 0;
}

// ---- a host that breaks the contract ----------------------------------------

// A null text or option buffer gives a null result before anything is
// done: no settings key made, no dialog or message box, the option buffer
// as it was.
static void TestNullArguments()
{
    static const struct Case {
        const char *what;
        const WCHAR *text;
        bool buffer;  // false: a null option buffer
        const char *option;
    } cases[] = {
        {"null text, an option string", NULL, true, "100000"},
        {"null text, an empty option string", NULL, true, ""},
        {"null option buffer", L"b\na", false, ""},
        {"both null", NULL, false, ""},
    };
    RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
    for (const Case &c : cases) {
        char buffer[64], before[64];
        memset(buffer, 0xAA, sizeof buffer);
        strcpy(buffer, c.option);
        memcpy(before, buffer, sizeof buffer);
        int boxes = boxCount, dialogs = dialogCount;
        HGLOBAL block = customSort(NULL, c.text, c.buffer ? buffer : NULL, sizeof buffer);
        CHECK(block == NULL, "%s: a result came back", c.what);
        if (block)
            GlobalFree(block);
        CHECK(memcmp(buffer, before, sizeof buffer) == 0, "%s: option buffer changed", c.what);
        CHECK(boxCount == boxes && dialogCount == dialogs, "%s: %d message boxes, %d dialogs", c.what,
              boxCount - boxes, dialogCount - dialogs);
        CHECK(!SettingsKeyExists(), "%s: settings key made", c.what);
    }
}

// ---- main -----------------------------------------------------------------------

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: bad_input_tests Tallorix.vlf\n");
        return 2;
    }
    FoundSettings found = FindSettings();

    if (!LoadModule(argv[1]))
        return CheckSummary();
    seenHook = SetWindowsHookExA(WH_CBT, RecordDialog, NULL, GetCurrentThreadId());

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    workDir = std::string(temp) + "tallorix_bad_input_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(workDir.c_str(), NULL);
    madeDirs.push_back(workDir);
    workDir += "\\";
    orderPath = workDir + "order.txt";
    CHECK(WriteBytes(orderPath, Bytes(L"\xFEFF" L"C\r\nB\r\nA\r\n")), "write %s", orderPath.c_str());

    TestNullArguments();
    if (MakeLongPathOrderFile())
        TestLongPath();
    TestParameterValues();
    TestCustomFileValues();
    TestSmallOptionBuffers();
    MakeSurrogateOrderFiles();
    TestLoneSurrogates();
    TestOnlyLineFeeds();
    TestMegabyteLines();
    TestOrderFileSize();
    TestLargeSelection();
    TestTwoKeys();
    TestTableSizeThatWraps();

    UnhookWindowsHookEx(seenHook);
    UnloadModule();
    RemoveMadeFiles();
    PutBackSettings(found);
    if (found.keyExisted) {
        CHECK(SameRaw(ReadRaw("Parameter"), found.parameter), "Parameter not restored");
        CHECK(SameRaw(ReadRaw("CustomFile"), found.customFile), "CustomFile not restored");
    } else {
        CHECK(!SettingsKeyExists(), "settings key left behind");
    }
    return CheckSummary();
}
