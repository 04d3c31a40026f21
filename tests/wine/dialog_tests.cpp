// The options and help dialogs of the real Tallorix.vlf, in real windows:
// CustomSort is called with an empty option string, and the dialogs are
// driven from a CBT hook on this thread, as a person would click them.
//
// Built with -fexec-charset=CP932, so the narrow literals below are the
// code page 932 texts the dialogs must read back; the wide ones are the
// UTF-16 texts of the templates.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <string.h>
#include <string>
#include <vector>

#include "../../res/help_text.h"
#include "../../res/resource.h"
#include "check.h"
#include "settings_access.h"

// The host and stored dialog layouts know the controls by these numbers.
static_assert(IDD_OPTIONS == 101 && IDD_HELP == 102, "dialog template numbers");
static_assert(IDC_ASCENDING == 1000 && IDC_DESCENDING == 1002 && IDC_COLLAPSE_BLANKS == 1003 &&
                  IDC_NUMERIC == 1004 && IDC_IGNORE_CASE == 1005 && IDC_HELP_TEXT == 1006 &&
                  IDC_UNICODE == 1007 && IDC_ORDER_FILE == 1008 && IDC_ORDER_PATH == 1009 &&
                  IDC_BROWSE == 1010 && IDC_DICTIONARY == 1011 && IDC_SHOW_HELP == 339,
              "control numbers of the dialog templates");

typedef HGLOBAL(__cdecl *CustomSortFn)(HWND, const WCHAR *, char *, int);

static const char CAPTION[] = "ソート (カスタム版)";
static const char NUMERIC_OFF[] =
    "「並び順をファイルで指定」をONにすると、「数値の部分は数値の大小関係でソートする」はOFFになります。";

static HMODULE module;
static CustomSortFn customSort;
static HWND host;
static std::string workDir;  // the current directory, with the order file

// ---- Windows seen -----------------------------------------------------------

enum Kind { OTHER, OPTIONS, HELP, BOX, FILE_DIALOG };

static bool HasClass(HWND w, const char *name)
{
    char c[32];
    return w && GetClassNameA(w, c, sizeof c) && lstrcmpiA(c, name) == 0;
}

static Kind KindOf(HWND w)
{
    if (!HasClass(w, "#32770"))
        return OTHER;
    if (GetDlgItem(w, IDC_COLLAPSE_BLANKS))
        return OPTIONS;
    if (GetDlgItem(w, IDC_HELP_TEXT))
        return HELP;
    if (GetDlgItem(w, cmb1) && (GetDlgItem(w, cmb13) || GetDlgItem(w, edt1)))
        return FILE_DIALOG;
    if (HasClass(GetDlgItem(w, 0xFFFF), "Static"))
        return BOX;
    return OTHER;
}

static std::string TextOf(HWND w)
{
    char text[8192] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
}

static bool Shown(HWND dialog, int id)
{
    HWND c = GetDlgItem(dialog, id);
    return c && IsWindowVisible(c);
}

struct Box {
    std::string text, caption;
    bool ownedByOptions;  // checked once the options dialog is known
    HWND owner;
    bool infoIcon, okOnly;
};

struct HelpSeen {
    int count;
    std::string caption, text;
    HWND owner, window;
    bool focused;
    DWORD selStart, selEnd;
};

struct FileSeen {
    int count;
    std::string caption, filter, folder, nameBefore;
    HWND owner;
    int filters;
};

enum Browse { BROWSE_CANCEL, BROWSE_PICK };
enum HelpClose { HELP_CLOSE_BUTTON, HELP_CLOSE_CANCEL };

struct Step;

// What one command meets, and how the dialogs are answered.
static struct Run {
    const Step *steps;
    Browse browse;
    const char *pickName;
    HelpClose helpClose;
    HWND options;
    HWND optionsOwner;
    bool scriptRan, scriptEnded, running;
    std::vector<Box> boxes;
    HelpSeen help;
    FileSeen file;
    HWND fileDialog;
    int unexpected;
} run;

// ---- The script on the options dialog -----------------------------------

enum Op {
    END,
    CLICK,       // BM_CLICK on id
    TYPE,        // set the text of id
    SET_CHECK,   // BM_SETCHECK on id, no command
    COMMAND,     // WM_COMMAND with wParam = value
    IS_CHECKED,  // IsDlgButtonChecked(id) == value
    IS_ENABLED,  // IsWindowEnabled(id) == value
    HAS_TEXT,    // GetDlgItemTextA(id) == text; id 0: the caption
    HAS_FOCUS,   // GetFocus() is id
    IS_TABSTOP,  // id has WS_TABSTOP == value
    STILL_OPEN,  // the dialog has not ended
    HELP_CLOSED, // the help dialog has gone
};

struct Step {
    Op op;
    int id;
    int value;
    const char *text;
};

static std::string stepTexts[8];  // texts built at run time, for TYPE/HAS_TEXT

static void RunScript(HWND dialog)
{
    for (const Step *s = run.steps; s && s->op != END; s++) {
        HWND c = GetDlgItem(dialog, s->id);
        int at = (int)(s - run.steps);
        if (!IsWindowVisible(dialog)) {
            CHECK(IsWindowVisible(dialog), "step %d: the dialog has ended early", at);
            return;
        }
        switch (s->op) {
        case CLICK:
            if (s->id == IDOK || s->id == IDCANCEL)
                run.scriptEnded = true;
            SendMessageA(c, BM_CLICK, 0, 0);
            break;
        case TYPE:
            SetDlgItemTextA(dialog, s->id, s->text);
            break;
        case SET_CHECK:
            SendMessageA(c, BM_SETCHECK, s->value, 0);
            break;
        case COMMAND:
            SendMessageA(dialog, WM_COMMAND, (WPARAM)(unsigned)s->value, 0);
            break;
        case IS_CHECKED:
            CHECK(IsDlgButtonChecked(dialog, s->id) == (UINT)s->value, "step %d: %d checked %u", at, s->id,
                  IsDlgButtonChecked(dialog, s->id));
            break;
        case IS_ENABLED:
            CHECK(c && (IsWindowEnabled(c) != 0) == (s->value != 0), "step %d: %d enabled %d", at, s->id,
                  c ? IsWindowEnabled(c) : -1);
            break;
        case HAS_TEXT: {
            char text[1024] = "";
            if (s->id)
                GetDlgItemTextA(dialog, s->id, text, sizeof text);
            else
                GetWindowTextA(dialog, text, sizeof text);
            CHECK(strcmp(text, s->text) == 0, "step %d: %d reads \"%s\"", at, s->id, text);
            break;
        }
        case HAS_FOCUS:
            CHECK(GetFocus() == c, "step %d: focus on %d", at, GetDlgCtrlID(GetFocus()));
            break;
        case IS_TABSTOP: {
            bool stop = (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) != 0;
            CHECK(c && stop == (s->value != 0), "step %d: %d tab stop %d", at, s->id, stop);
            break;
        }
        case STILL_OPEN:
            CHECK(IsWindow(dialog) && IsWindowVisible(dialog), "step %d: dialog still open", at);
            break;
        case HELP_CLOSED:
            CHECK(run.help.window && !IsWindow(run.help.window), "step %d: help dialog gone", at);
            break;
        case END:
            break;
        }
    }
    if (!run.scriptEnded) {
        CHECK(run.scriptEnded, "script ends without OK or Cancel");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

// ---- Answering each window --------------------------------------------------

static void SeeBox(HWND w)
{
    Box b;
    b.text = TextOf(GetDlgItem(w, 0xFFFF));
    b.caption = TextOf(w);
    b.owner = GetWindow(w, GW_OWNER);
    b.ownedByOptions = false;
    HWND icon = GetDlgItem(w, 0x0440);
    b.infoIcon = icon && (HICON)SendMessageA(icon, STM_GETICON, 0, 0) == LoadIconA(NULL, IDI_INFORMATION);
    b.okOnly = Shown(w, IDOK) && !Shown(w, IDCANCEL) && !Shown(w, IDYES) && !Shown(w, IDNO);
    run.boxes.push_back(b);
    PostMessageA(w, WM_COMMAND, IDOK, 0);
    // A box over the open-file dialog would leave it waiting for a person.
    if (run.fileDialog && b.owner == run.fileDialog)
        PostMessageA(run.fileDialog, WM_COMMAND, IDCANCEL, 0);
}

static void SeeHelp(HWND w)
{
    HelpSeen &h = run.help;
    h.count++;
    h.window = w;
    h.caption = TextOf(w);
    h.owner = GetWindow(w, GW_OWNER);
    HWND edit = GetDlgItem(w, IDC_HELP_TEXT);
    h.text = TextOf(edit);
    h.focused = GetFocus() == edit;
    SendMessageA(edit, EM_GETSEL, (WPARAM)&h.selStart, (LPARAM)&h.selEnd);
    if (run.helpClose == HELP_CLOSE_BUTTON)
        PostMessageA(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    else
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
}

static void SeeFileDialog(HWND w)
{
    FileSeen &f = run.file;
    f.count++;
    run.fileDialog = w;
    f.caption = TextOf(w);
    f.owner = GetWindow(w, GW_OWNER);
    HWND types = GetDlgItem(w, cmb1);
    f.filters = (int)SendMessageA(types, CB_GETCOUNT, 0, 0);
    f.filter = TextOf(types);
    char folder[MAX_PATH] = "";
    SendMessageA(w, CDM_GETFOLDERPATH, sizeof folder, (LPARAM)folder);
    f.folder = folder;
    HWND name = GetDlgItem(w, cmb13) ? GetDlgItem(w, cmb13) : GetDlgItem(w, edt1);
    f.nameBefore = TextOf(name);
    if (run.browse == BROWSE_PICK) {
        SetWindowTextA(name, run.pickName);
        PostMessageA(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    } else {
        PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
    }
}

static std::vector<HWND> activated;

static void CALLBACK Pump(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    while (!activated.empty()) {
        HWND w = activated.front();
        if (!IsWindow(w)) {
            activated.erase(activated.begin());
            continue;
        }
        Kind kind = KindOf(w);
        if (kind == OPTIONS && !IsWindowVisible(w)) {
            // Activated behind a box of its initialisation: wait until shown.
            SetTimer(NULL, 0, 0, Pump);
            return;
        }
        activated.erase(activated.begin());
        switch (kind) {
        case OPTIONS:
            if (run.scriptRan || run.running)
                break;  // active again after a window of its own
            run.scriptRan = run.running = true;
            run.options = w;
            run.optionsOwner = GetWindow(w, GW_OWNER);
            RunScript(w);
            run.running = false;
            break;
        case HELP:
            if (w != run.help.window)
                SeeHelp(w);
            break;
        case FILE_DIALOG:
            if (w != run.fileDialog)
                SeeFileDialog(w);
            break;
        case BOX:
            SeeBox(w);
            break;
        case OTHER:
            if (w != host) {
                run.unexpected++;
                PostMessageA(w, WM_CLOSE, 0, 0);
            }
            break;
        }
    }
}

static HHOOK hook;

static LRESULT CALLBACK WatchActivation(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_ACTIVATE) {
        HWND window = (HWND)w;
        if (activated.empty() || activated.back() != window)
            activated.push_back(window);
        SetTimer(NULL, 0, 0, Pump);
    }
    return CallNextHookEx(hook, code, w, l);
}

// ---- One command --------------------------------------------------------------

struct Outcome {
    bool null;
    std::wstring text;
    char option[16];
};

// Runs CustomSort as the editor does with an empty option string.
static Outcome Command(const WCHAR *text)
{
    activated.clear();
    char option[256];
    memset(option, 0x55, sizeof option);  // the command zeroes the first 16
    option[0] = 0;
    HGLOBAL block = customSort(host, text, option, sizeof option);
    Outcome o;
    o.null = block == NULL;
    if (block) {
        o.text = (const WCHAR *)GlobalLock(block);
        GlobalUnlock(block);
        GlobalFree(block);
    }
    memcpy(o.option, option, sizeof o.option);
    for (Box &b : run.boxes)
        b.ownedByOptions = run.options && b.owner == run.options;
    return o;
}

static void ResetRun(const Step *steps)
{
    run.steps = steps;
    run.browse = BROWSE_CANCEL;
    run.pickName = NULL;
    run.helpClose = HELP_CLOSE_BUTTON;
    run.options = run.optionsOwner = run.fileDialog = NULL;
    run.scriptRan = run.scriptEnded = run.running = false;
    run.boxes.clear();
    run.help = HelpSeen();
    run.file = FileSeen();
    run.unexpected = 0;
}

static int NumericBoxes()
{
    int n = 0;
    for (const Box &b : run.boxes)
        if (b.text == NUMERIC_OFF)
            n++;
    return n;
}

// ---- The cases ----------------------------------------------------------------

struct Case {
    const char *what;
    const char *parameter;  // NULL: missing
    const char *customFile;
    std::vector<Step> steps;
    const WCHAR *sorted;    // NULL: the command returns null
    const char *optionAfter;
    const char *parameterAfter;
    std::string customFileAfter;
    int numericBoxes;
    int otherBoxes;
};

static const WCHAR SORT_INPUT[] = L"B\nA\nD\nC";
static const WCHAR BY_CODE[] = L"A\nB\nC\nD\n";
static const WCHAR BY_FILE[] = L"D\nC\nB\nA\n";  // the order file lists C, B, A

static void Expect(const Case &c, const Outcome &o)
{
    CHECK(run.scriptRan, "%s: options dialog seen", c.what);
    CHECK(run.optionsOwner == host, "%s: dialog owned by the editor window", c.what);
    CHECK(run.unexpected == 0, "%s: %d unexpected windows", c.what, run.unexpected);
    if (c.sorted)
        CHECK(!o.null && o.text == c.sorted, "%s: sorted %s", c.what, o.null ? "(null)" : "otherwise");
    else
        CHECK(o.null, "%s: null result", c.what);
    CHECK(strcmp(o.option, c.optionAfter) == 0, "%s: option buffer \"%.16s\"", c.what, o.option);
    size_t n = strlen(o.option);
    static const char zero[16] = {0};
    CHECK(n < 16 && memcmp(o.option + n, zero, 16 - n) == 0, "%s: rest of the 16 bytes zero", c.what);
    CHECK(GetString("Parameter") == c.parameterAfter, "%s: Parameter %s", c.what, GetString("Parameter").c_str());
    CHECK(GetString("CustomFile") == c.customFileAfter, "%s: CustomFile %s", c.what,
          GetString("CustomFile").c_str());
    int helps = 0, browses = 0;
    for (const Step &s : c.steps) {
        helps += s.op == CLICK && s.id == IDC_SHOW_HELP;
        browses += s.op == CLICK && s.id == IDC_BROWSE;
    }
    CHECK(run.help.count == helps, "%s: help shown %d times", c.what, run.help.count);
    CHECK(run.file.count == browses, "%s: open-file dialog shown %d times", c.what, run.file.count);
    CHECK(NumericBoxes() == c.numericBoxes, "%s: %d numeric messages", c.what, NumericBoxes());
    int other = (int)run.boxes.size() - NumericBoxes();
    CHECK(other == c.otherBoxes, "%s: %d other messages", c.what, other);
    for (const Box &b : run.boxes) {
        if (b.text != NUMERIC_OFF)
            continue;
        CHECK(b.caption == CAPTION, "%s: box caption \"%s\"", c.what, b.caption.c_str());
        CHECK(b.ownedByOptions, "%s: box owned by the options dialog", c.what);
        CHECK(b.infoIcon && b.okOnly, "%s: information icon %d, OK only %d", c.what, b.infoIcon, b.okOnly);
    }
}

static void RunCases(const std::vector<Case> &cases, Browse browse = BROWSE_CANCEL, const char *pick = NULL,
                     HelpClose helpClose = HELP_CLOSE_BUTTON)
{
    for (const Case &c : cases) {
        SetString("Parameter", c.parameter);
        SetString("CustomFile", c.customFile);
        std::vector<Step> steps = c.steps;
        steps.push_back({END, 0, 0, NULL});
        ResetRun(steps.data());
        run.browse = browse;
        run.pickName = pick;
        run.helpClose = helpClose;
        Outcome o = Command(SORT_INPUT);
        Expect(c, o);
    }
}

#define CLICKS(id) {CLICK, id, 0, NULL}
#define OK_ {CLICK, IDOK, 0, NULL}
#define CANCEL_ {CLICK, IDCANCEL, 0, NULL}
#define CHECKED(id, v) {IS_CHECKED, id, v, NULL}
#define ENABLED(id, v) {IS_ENABLED, id, v, NULL}
#define READS(id, t) {HAS_TEXT, id, 0, t}

static std::string orderPath;

// The template as the dialog shows it, and the state it starts in.
static void TestOpening()
{
    std::vector<Case> cases = {
        // The template's first tab stop is IDC_COLLAPSE_BLANKS, but a radio button
        // becomes a tab stop when checked: the system's default focus goes
        // to the checked one.
        {"texts, focus and a fresh start", NULL, NULL,
         {{HAS_FOCUS, IDC_ASCENDING, 0, NULL},
          {IS_TABSTOP, IDC_ASCENDING, 1, NULL},
          {IS_TABSTOP, IDC_DESCENDING, 0, NULL},
          {IS_TABSTOP, IDC_COLLAPSE_BLANKS, 1, NULL},
          READS(0, CAPTION),
          READS(0xFFFF, "並べ方"),
          READS(IDC_ASCENDING, "文字コードの小さい順（いわゆる昇順） (&N)"),
          READS(IDC_DESCENDING, "文字コードの大きい順（いわゆる降順） (&R)"),
          READS(IDC_COLLAPSE_BLANKS, "連続したタブ文字/空白文字を1つの空白文字であるかのようにして比較する(&I)"),
          READS(IDC_IGNORE_CASE, "大文字/小文字を区別しない(&C)"),
          READS(IDC_NUMERIC, "数値の部分は数値の大小関係でソートする(&V)"),
          READS(IDC_UNICODE, "Unicodeの文字コードで比較(&U)"),
          READS(IDC_ORDER_FILE, "並び順をファイルで指定(&F)"),
          READS(IDC_ORDER_PATH, ""),
          READS(IDC_BROWSE, "..."),
          READS(IDC_DICTIONARY, "日本語の辞書順で比較(&J)"),
          {IS_TABSTOP, IDC_DICTIONARY, 1, NULL},
          CHECKED(IDC_DICTIONARY, 0), ENABLED(IDC_DICTIONARY, 1),
          READS(IDOK, "OK"),
          READS(IDCANCEL, "キャンセル"),
          READS(IDC_SHOW_HELP, "ヘルプ(&H)"),
          CHECKED(IDC_ASCENDING, 1), CHECKED(IDC_DESCENDING, 0), CHECKED(IDC_COLLAPSE_BLANKS, 0), CHECKED(IDC_IGNORE_CASE, 0), CHECKED(IDC_NUMERIC, 0),
          CHECKED(IDC_UNICODE, 0), CHECKED(IDC_ORDER_FILE, 0),
          ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_ORDER_FILE, 0), ENABLED(IDC_ORDER_PATH, 0), ENABLED(IDC_BROWSE, 0),
          CANCEL_},
         NULL, "", "", "", 0, 0},
        {"every flag but the file", "111110", "C:\\order.txt",
         {{HAS_FOCUS, IDC_DESCENDING, 0, NULL}, {IS_TABSTOP, IDC_ASCENDING, 0, NULL}, {IS_TABSTOP, IDC_DESCENDING, 1, NULL},
          CHECKED(IDC_ASCENDING, 0), CHECKED(IDC_DESCENDING, 1), CHECKED(IDC_COLLAPSE_BLANKS, 1), CHECKED(IDC_IGNORE_CASE, 1), CHECKED(IDC_NUMERIC, 1),
          CHECKED(IDC_UNICODE, 1), CHECKED(IDC_ORDER_FILE, 0), ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_PATH, 0),
          ENABLED(IDC_BROWSE, 0), READS(IDC_ORDER_PATH, "C:\\order.txt"), CANCEL_},
         NULL, "111110", "111110", "C:\\order.txt", 0, 0},
        {"only the digit 1 checks", "1x1y2", "",
         {CHECKED(IDC_DESCENDING, 1), CHECKED(IDC_COLLAPSE_BLANKS, 0), CHECKED(IDC_IGNORE_CASE, 1), CHECKED(IDC_NUMERIC, 0), CHECKED(IDC_UNICODE, 0), CANCEL_},
         NULL, "1x1y2", "1x1y2", "", 0, 0},
        {"the file option without Unicode", "000001", orderPath.c_str(),
         {CHECKED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_FILE, 0), ENABLED(IDC_ORDER_PATH, 0), ENABLED(IDC_BROWSE, 0), ENABLED(IDC_NUMERIC, 1), CANCEL_},
         NULL, "000001", "000001", orderPath, 0, 0},
        {"file mode", "000011", orderPath.c_str(),
         {ENABLED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_PATH, 1), ENABLED(IDC_BROWSE, 1), ENABLED(IDC_NUMERIC, 0), CHECKED(IDC_NUMERIC, 0),
          READS(IDC_ORDER_PATH, orderPath.c_str()), CANCEL_},
         NULL, "000011", "000011", orderPath, 0, 0},
        {"stored numeric in file mode, Cancel", "000111", orderPath.c_str(),
         {CHECKED(IDC_NUMERIC, 0), ENABLED(IDC_NUMERIC, 0), CHECKED(IDC_UNICODE, 1), CHECKED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_PATH, 1), CANCEL_},
         NULL, "000111", "000111", orderPath, 1, 0},
        {"stored numeric in file mode, OK", "000111", orderPath.c_str(),
         {CHECKED(IDC_NUMERIC, 0), ENABLED(IDC_NUMERIC, 0), OK_},
         BY_FILE, "0000110", "0000110", orderPath, 1, 0},
        {"numeric kept outside file mode", "000101", "",
         {CHECKED(IDC_NUMERIC, 1), ENABLED(IDC_NUMERIC, 1), CHECKED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_FILE, 0), CANCEL_},
         NULL, "000101", "000101", "", 0, 0},
    };
    RunCases(cases);
}

// Clicks on Unicode and the file option, and commands that are no clicks.
static void TestEnablingRules()
{
    std::vector<Case> cases = {
        {"Unicode off keeps the file option", "000011", orderPath.c_str(),
         {CLICKS(IDC_UNICODE), CHECKED(IDC_UNICODE, 0), CHECKED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_FILE, 0), ENABLED(IDC_ORDER_PATH, 0),
          ENABLED(IDC_BROWSE, 0), ENABLED(IDC_NUMERIC, 1), OK_},
         BY_CODE, "0000010", "0000010", orderPath, 0, 0},
        {"Unicode on again", "000001", orderPath.c_str(),
         {CLICKS(IDC_UNICODE), ENABLED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_PATH, 1), ENABLED(IDC_BROWSE, 1), ENABLED(IDC_NUMERIC, 0), OK_},
         BY_FILE, "0000110", "0000110", orderPath, 0, 0},
        {"the file option turns numeric off", "000110", "",
         {ENABLED(IDC_ORDER_FILE, 1), ENABLED(IDC_ORDER_PATH, 0), CLICKS(IDC_ORDER_FILE), CHECKED(IDC_NUMERIC, 0), ENABLED(IDC_NUMERIC, 0), ENABLED(IDC_ORDER_PATH, 1),
          ENABLED(IDC_BROWSE, 1), CLICKS(IDC_ORDER_FILE), CHECKED(IDC_NUMERIC, 0), ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_ORDER_PATH, 0), CANCEL_},
         NULL, "000110", "000110", "", 1, 0},
        {"Unicode on with numeric and the file option", "000101", "",
         {CLICKS(IDC_UNICODE), CHECKED(IDC_NUMERIC, 0), ENABLED(IDC_NUMERIC, 0), ENABLED(IDC_ORDER_PATH, 1), CANCEL_},
         NULL, "000101", "000101", "", 1, 0},
        {"Unicode without the file option", "000100", "",
         {CLICKS(IDC_UNICODE), ENABLED(IDC_ORDER_FILE, 1), CHECKED(IDC_NUMERIC, 1), ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_ORDER_PATH, 0), OK_},
         L"A\nB\nC\nD\n", "0001100", "0001100", "", 0, 0},
        // In dictionary order the file orders the kanji beside numbers by
        // value: the notice and the disabling apply with it off only.
        {"dictionary order keeps numeric in file mode", "0001111", orderPath.c_str(),
         {CHECKED(IDC_DICTIONARY, 1), CHECKED(IDC_NUMERIC, 1), ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_ORDER_PATH, 1),
          ENABLED(IDC_BROWSE, 1), OK_},
         BY_CODE, "0001111", "0001111", orderPath, 0, 0},
        {"dictionary order off turns numeric off in file mode", "0001111", orderPath.c_str(),
         {CLICKS(IDC_DICTIONARY), CHECKED(IDC_NUMERIC, 0), ENABLED(IDC_NUMERIC, 0), ENABLED(IDC_ORDER_PATH, 1), OK_},
         BY_FILE, "0000110", "0000110", orderPath, 1, 0},
        {"dictionary order on lets numeric be chosen in file mode", "000011", orderPath.c_str(),
         {ENABLED(IDC_NUMERIC, 0), CLICKS(IDC_DICTIONARY), ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_ORDER_PATH, 1),
          CLICKS(IDC_NUMERIC), CLICKS(IDC_UNICODE), ENABLED(IDC_ORDER_FILE, 0), ENABLED(IDC_ORDER_PATH, 0),
          ENABLED(IDC_NUMERIC, 1), ENABLED(IDC_DICTIONARY, 1), OK_},
         BY_CODE, "0001011", "0001011", orderPath, 0, 0},
        {"dictionary order alone", "", "",
         {CLICKS(IDC_DICTIONARY), CHECKED(IDC_DICTIONARY, 1), ENABLED(IDC_ORDER_FILE, 0), ENABLED(IDC_NUMERIC, 1), OK_},
         BY_CODE, "0000001", "0000001", "", 0, 0},
        {"the radio pair", "100000", "",
         {CLICKS(IDC_ASCENDING), CHECKED(IDC_ASCENDING, 1), CHECKED(IDC_DESCENDING, 0), OK_},
         BY_CODE, "0000000", "0000000", "", 0, 0},
        {"notifications are not clicks", "000110", "",
         {{SET_CHECK, IDC_ORDER_FILE, BST_CHECKED, NULL},
          {COMMAND, 0, MAKEWPARAM(IDC_ORDER_FILE, 1), NULL},
          ENABLED(IDC_NUMERIC, 1),
          CHECKED(IDC_NUMERIC, 1),
          {COMMAND, 0, MAKEWPARAM(IDC_UNICODE, BN_DOUBLECLICKED), NULL},
          ENABLED(IDC_ORDER_PATH, 0),
          {COMMAND, 0, MAKEWPARAM(IDOK, 1), NULL},
          {COMMAND, 0, MAKEWPARAM(IDCANCEL, EN_CHANGE), NULL},
          {COMMAND, 0, MAKEWPARAM(IDC_SHOW_HELP, 1), NULL},
          {COMMAND, 0, MAKEWPARAM(IDC_BROWSE, 1), NULL},
          {STILL_OPEN, 0, 0, NULL},
          {COMMAND, 0, IDC_ORDER_FILE, NULL},
          CHECKED(IDC_NUMERIC, 0),
          ENABLED(IDC_NUMERIC, 0),
          CANCEL_},
         NULL, "000110", "000110", "", 1, 0},
    };
    RunCases(cases);
}

// OK takes the choices and the path, Cancel none of them.
static void TestOkAndCancel()
{
    std::string long300(300, 'q'), cut259(259, 'q'), exact259(259, 'e');
    static const WCHAR descending[] = L"D\nC\nB\nA\n";
    // "並び順指定ファイルがロード出来ませんでした。" comes at sort time for a
    // path that names no file.
    std::vector<Case> cases = {
        {"Cancel after changes", "100000", "C:\\old.txt",
         {CLICKS(IDC_ASCENDING), CLICKS(IDC_COLLAPSE_BLANKS), CLICKS(IDC_UNICODE), CLICKS(IDC_ORDER_FILE), {TYPE, IDC_ORDER_PATH, 0, "C:\\new.txt"}, CANCEL_},
         NULL, "100000", "100000", "C:\\old.txt", 0, 0},
        {"Cancel with both values missing", NULL, NULL, {CLICKS(IDC_DESCENDING), CANCEL_}, NULL, "", "", "", 0, 0},
        {"OK takes every choice", NULL, NULL,
         {CLICKS(IDC_DESCENDING), CLICKS(IDC_COLLAPSE_BLANKS), CLICKS(IDC_IGNORE_CASE), CLICKS(IDC_NUMERIC), OK_},
         descending, "1111000", "1111000", "", 0, 0},
        {"OK with every box clear", "111110", "",
         {CLICKS(IDC_ASCENDING), CLICKS(IDC_COLLAPSE_BLANKS), CLICKS(IDC_IGNORE_CASE), CLICKS(IDC_NUMERIC), CLICKS(IDC_UNICODE), OK_},
         BY_CODE, "0000000", "0000000", "", 0, 0},
        {"a typed path is taken unchecked", "000011", orderPath.c_str(),
         {{TYPE, IDC_ORDER_PATH, 0, "Z:\\no such\\order.txt"}, OK_},
         BY_CODE, "0000110", "0000110", "Z:\\no such\\order.txt", 0, 1},
        {"a typed path of 259 characters", "000011", "",
         {{TYPE, IDC_ORDER_PATH, 0, exact259.c_str()}, OK_},
         BY_CODE, "0000110", "0000110", exact259, 0, 1},
        {"a typed path of 300 characters is cut", "000011", "",
         {{TYPE, IDC_ORDER_PATH, 0, long300.c_str()}, OK_},
         BY_CODE, "0000110", "0000110", cut259, 0, 1},
        {"the path emptied", "000011", orderPath.c_str(),
         {{TYPE, IDC_ORDER_PATH, 0, ""}, CLICKS(IDC_ORDER_FILE), OK_},
         BY_CODE, "0000100", "0000100", "", 0, 0},
    };
    RunCases(cases);
}

// The "..." button and the open-file dialog behind it.
static void TestBrowse()
{
    std::vector<Case> cancelled = {
        {"open-file dialog cancelled", "000011", orderPath.c_str(),
         {CLICKS(IDC_BROWSE), READS(IDC_ORDER_PATH, orderPath.c_str()), CANCEL_},
         NULL, "000011", "000011", orderPath, 0, 0},
    };
    RunCases(cancelled, BROWSE_CANCEL);
    const FileSeen &f = run.file;
    CHECK(f.count == 1, "open-file dialog shown %d times", f.count);
    CHECK(f.caption == "並び順指定ファイル", "open-file caption \"%s\"", f.caption.c_str());
    CHECK(f.owner == run.options, "open-file dialog owned by the options dialog");
    CHECK(f.filters == 1 && f.filter == "すべてのファイル (*.*)", "%d filters, \"%s\"", f.filters, f.filter.c_str());
    CHECK(lstrcmpiA(f.folder.c_str(), workDir.c_str()) == 0, "starts in \"%s\"", f.folder.c_str());
    CHECK(f.nameBefore.empty(), "file name starts empty: \"%s\"", f.nameBefore.c_str());

    // A name typed in the open-file dialog comes back as a full path.
    std::vector<Case> picked = {
        {"a file picked", "000011", "",
         {CLICKS(IDC_BROWSE), READS(IDC_ORDER_PATH, orderPath.c_str()), OK_},
         BY_FILE, "0000110", "0000110", orderPath, 0, 0},
    };
    RunCases(picked, BROWSE_PICK, "order.txt");
    CHECK(run.file.count == 1, "open-file dialog shown %d times", run.file.count);
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    CHECK(workDir == cwd, "current directory kept: \"%s\"", cwd);
}

// The help text: headings in order, lines ended by CR LF, paragraphs
// indented by an ideographic space.
static void CheckHelpText(const std::string &text)
{
    CHECK(text == HELP_TEXT, "help text read back whole (%u bytes)", (unsigned)text.size());
    CHECK(text.size() > 3000 && text.size() < 4000, "help text of %u bytes", (unsigned)text.size());
    CHECK(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0, "last line ends with CR LF");
    CHECK(text.find("●Unicode") == std::string::npos, "no section of the Unicode option's own");

    static const char *headings[] = {
        "■■ダイアログボックスの説明",
        "●並べ方",
        "●連続したタブ文字/空白文字を1つの空白文字であるかのようにして比較する",
        "●大文字/小文字を区別しない",
        "●数値の部分は数値の大小関係でソートする",
        "●並び順をファイルで指定",
        "●標準添付の「BushuKakusuu.txt」ファイル",
        "●日本語の辞書順で比較",
        "■■補足",
    };
    std::vector<std::string> lines;
    size_t at = 0;
    bool crlf = true;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        crlf = crlf && end > at && text[end - 1] == '\r';
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        crlf = crlf && line.find('\r') == std::string::npos;
        lines.push_back(line);
        at = end + 1;
    }
    CHECK(crlf, "every line ends with CR LF");
    size_t next = 0;
    bool indented = true, separated = true;
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string &l = lines[i];
        bool heading = l.compare(0, 2, "■") == 0 || l.compare(0, 2, "●") == 0;
        if (next < sizeof headings / sizeof *headings && l == headings[next]) {
            next++;
            separated = separated && i > 0 && lines[i - 1].empty();
        } else if (i > 0 && !l.empty()) {
            indented = indented && !heading && l.compare(0, 2, "　") == 0;
        }
    }
    CHECK(next == sizeof headings / sizeof *headings, "headings in order, %u found", (unsigned)next);
    CHECK(indented, "paragraph lines start with an ideographic space");
    CHECK(separated, "an empty line before every heading");
    CHECK(!lines.empty() && lines[0].compare(0, 2, "　") != 0 && !lines[0].empty(), "opening paragraph unindented");
    CHECK(text.find("ABC100") != std::string::npos && text.find("ABC20") != std::string::npos, "numeric example");
    CHECK(text.find("「きゃく」は「きやく」の前") != std::string::npos && text.find("「第３回」は「第１２回」の前") != std::string::npos,
          "dictionary order's examples");
}

static void TestHelp()
{
    const HelpClose closes[] = {HELP_CLOSE_BUTTON, HELP_CLOSE_CANCEL};
    for (HelpClose close : closes) {
        std::vector<Case> cases = {
            {"help", "100000", "",
             {CLICKS(IDC_SHOW_HELP), {HELP_CLOSED, 0, 0, NULL}, {STILL_OPEN, 0, 0, NULL}, CHECKED(IDC_DESCENDING, 1), CLICKS(IDC_SHOW_HELP),
              CANCEL_},
             NULL, "100000", "100000", "", 0, 0},
        };
        RunCases(cases, BROWSE_CANCEL, NULL, close);
        const HelpSeen &h = run.help;
        CHECK(h.count == 2, "help shown %d times", h.count);
        CHECK(h.caption == "ヘルプ", "help caption \"%s\"", h.caption.c_str());
        CHECK(h.owner == run.options, "help owned by the options dialog");
        CHECK(h.focused, "focus on the help text");
        CHECK(h.selStart == 0 && h.selEnd == 0, "caret at %lu..%lu", h.selStart, h.selEnd);
        if (close == HELP_CLOSE_BUTTON)
            CheckHelpText(h.text);
    }
}

// ---- The templates in the module ----------------------------------------------

struct Item {
    WORD id;
    WORD atom;  // 0x80 button, 0x81 edit
    DWORD style;
    short x, y, cx, cy;
    const WCHAR *text;
};

static const WCHAR *ReadWide(const WORD *&p)
{
    const WCHAR *s = (const WCHAR *)p;
    while (*p++)
        ;
    return s;
}

static void CheckTemplate(int id, const WCHAR *caption, short cx, short cy, const Item *items, int count)
{
    HRSRC res = FindResourceExA(module, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(id),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    CHECK(res != NULL, "template %d in Japanese", id);
    if (!res)
        return;
    const DLGTEMPLATE *t = (const DLGTEMPLATE *)LockResource(LoadResource(module, res));
    const DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
    CHECK(t->style == style && t->dwExtendedStyle == 0, "%d: style %08lx", id, t->style);
    CHECK(t->cdit == count, "%d: %d controls", id, t->cdit);
    CHECK(t->x == 20 && t->y == 20 && t->cx == cx && t->cy == cy, "%d: at %d,%d size %dx%d", id, t->x, t->y,
          t->cx, t->cy);
    const WORD *p = (const WORD *)(t + 1);
    CHECK(*p++ == 0, "%d: no menu", id);
    CHECK(*p++ == 0, "%d: no class", id);
    CHECK(wcscmp(ReadWide(p), caption) == 0, "%d: caption", id);
    CHECK(*p++ == 9, "%d: 9 points", id);
    CHECK(wcscmp(ReadWide(p), L"ＭＳ Ｐゴシック") == 0, "%d: font name", id);
    for (int i = 0; i < count && i < t->cdit; i++) {
        p = (const WORD *)(((UINT_PTR)p + 3) & ~(UINT_PTR)3);
        const DLGITEMTEMPLATE *it = (const DLGITEMTEMPLATE *)p;
        const Item &e = items[i];
        CHECK(it->id == e.id, "%d: control %d has id %d, not %d", id, i, (short)it->id, (short)e.id);
        CHECK(it->style == e.style && it->dwExtendedStyle == 0, "%d: control %d style %08lx", id, (short)e.id,
              it->style);
        CHECK(it->x == e.x && it->y == e.y && it->cx == e.cx && it->cy == e.cy, "%d: control %d at %d,%d %dx%d",
              id, (short)e.id, it->x, it->y, it->cx, it->cy);
        p = (const WORD *)(it + 1);
        bool atom = p[0] == 0xFFFF && p[1] == e.atom;
        CHECK(atom, "%d: control %d class", id, (short)e.id);
        if (p[0] == 0xFFFF)
            p += 2;
        else
            ReadWide(p);
        const WCHAR *text = L"";
        if (p[0] == 0xFFFF)
            p += 2;
        else
            text = ReadWide(p);
        CHECK(wcscmp(text, e.text) == 0, "%d: control %d text", id, (short)e.id);
        WORD extra = *p++;
        p = (const WORD *)((const BYTE *)p + extra);
    }
}

// No two controls overlap, but the radio buttons inside their group box,
// and each lies inside the dialog.
static void CheckLayout(int id, short cx, short cy, const Item *items, int count)
{
    for (int i = 0; i < count; i++) {
        const Item &a = items[i];
        CHECK(a.x >= 0 && a.y >= 0 && a.x + a.cx <= cx && a.y + a.cy <= cy, "%d: control %d inside", id, (short)a.id);
        for (int j = i + 1; j < count; j++) {
            const Item &b = items[j];
            bool boxed = (a.style & 0xF) == BS_GROUPBOX && (b.style & 0xF) == BS_AUTORADIOBUTTON;
            bool apart = a.x + a.cx <= b.x || b.x + b.cx <= a.x || a.y + a.cy <= b.y || b.y + b.cy <= a.y;
            CHECK(boxed || apart, "%d: controls %d and %d overlap", id, (short)a.id, (short)b.id);
        }
    }
}

static void TestTemplates()
{
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DWORD check = child | BS_AUTOCHECKBOX | WS_TABSTOP;
    const DWORD push = child | BS_PUSHBUTTON | WS_TABSTOP;
    static const Item options[] = {
        {0xFFFF, 0x80, child | BS_GROUPBOX, 7, 7, 173, 45, L"並べ方"},
        {IDC_ASCENDING, 0x80, child | BS_AUTORADIOBUTTON | WS_GROUP, 16, 21, 148, 10,
         L"文字コードの小さい順（いわゆる昇順） (&N)"},
        {IDC_DESCENDING, 0x80, child | BS_AUTORADIOBUTTON, 16, 36, 147, 10, L"文字コードの大きい順（いわゆる降順） (&R)"},
        {IDC_COLLAPSE_BLANKS, 0x80, check | BS_MULTILINE | WS_GROUP, 7, 61, 168, 18,
         L"連続したタブ文字/空白文字を1つの空白文字であるかのようにして比較する(&I)"},
        {IDC_IGNORE_CASE, 0x80, check, 7, 86, 126, 10, L"大文字/小文字を区別しない(&C)"},
        {IDC_NUMERIC, 0x80, check, 7, 104, 170, 10, L"数値の部分は数値の大小関係でソートする(&V)"},
        {IDC_UNICODE, 0x80, check, 7, 122, 145, 10, L"Unicodeの文字コードで比較(&U)"},
        {IDC_ORDER_FILE, 0x80, check, 7, 140, 113, 10, L"並び順をファイルで指定(&F)"},
        {IDC_ORDER_PATH, 0x81, child | ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 156, 159, 14, L""},
        {IDC_BROWSE, 0x80, push, 169, 156, 11, 14, L"..."},
        {IDC_DICTIONARY, 0x80, check, 7, 177, 120, 10, L"日本語の辞書順で比較(&J)"},
        {IDOK, 0x80, child | BS_DEFPUSHBUTTON | WS_TABSTOP, 13, 198, 50, 15, L"OK"},
        {IDCANCEL, 0x80, push, 68, 198, 50, 15, L"キャンセル"},
        {IDC_SHOW_HELP, 0x80, push, 123, 198, 50, 15, L"ヘルプ(&H)"},
    };
    CheckTemplate(IDD_OPTIONS, L"ソート (カスタム版)", 187, 220, options, sizeof options / sizeof *options);
    CheckLayout(IDD_OPTIONS, 187, 220, options, sizeof options / sizeof *options);
    static const Item help[] = {
        {IDC_HELP_TEXT, 0x81,
         child | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 261,
         220, L""},
        {IDOK, 0x80, child | BS_DEFPUSHBUTTON | WS_TABSTOP, 102, 232, 50, 15, L"閉じる"},
    };
    CheckTemplate(IDD_HELP, L"ヘルプ", 275, 254, help, sizeof help / sizeof *help);
}

// ---- Setting up ------------------------------------------------------------------

static bool MakeWorkDir()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char dir[MAX_PATH];
    wsprintfA(dir, "%stallorix-dialogs-%lu", temp, GetCurrentProcessId());
    CreateDirectoryA(dir, NULL);
    char full[MAX_PATH];
    GetFullPathNameA(dir, sizeof full, full, NULL);
    workDir = full;
    orderPath = workDir + "\\order.txt";
    HANDLE f = CreateFileA(orderPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    static const WCHAR order[] = L"\xFEFF" L"C\r\nB\r\nA\r\n";
    DWORD written = 0;
    WriteFile(f, order, sizeof order - 2, &written, NULL);
    CloseHandle(f);
    return written == sizeof order - 2 && SetCurrentDirectoryA(workDir.c_str());
}

static void RemoveWorkDir()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    SetCurrentDirectoryA(temp);
    DeleteFileA(orderPath.c_str());
    RemoveDirectoryA(workDir.c_str());
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: dialog_tests Tallorix.vlf\n");
        return 2;
    }
    char dll[MAX_PATH];
    GetFullPathNameA(argv[1], sizeof dll, dll, NULL);
    module = LoadLibraryA(dll);
    customSort = module ? (CustomSortFn)(void *)GetProcAddress(module, "CustomSort") : NULL;
    CHECK(customSort != NULL, "load %s: error %lu", dll, GetLastError());
    CHECK(MakeWorkDir(), "work directory %s", workDir.c_str());
    if (!customSort)
        return CheckSummary();

    // The editor's window, owner of the options dialog.
    host = CreateWindowExA(0, "Static", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, NULL, NULL,
                           NULL, NULL);
    hook = SetWindowsHookExA(WH_CBT, WatchActivation, NULL, GetCurrentThreadId());

    TestTemplates();
    TestOpening();
    TestEnablingRules();
    TestOkAndCancel();
    TestBrowse();
    TestHelp();

    UnhookWindowsHookEx(hook);
    DestroyWindow(host);
    SetString("Parameter", NULL);
    SetString("CustomFile", NULL);
    RemoveWorkDir();
    FreeLibrary(module);
    return CheckSummary();
}
