// vlfhost: runs a Veltrane filter module the way the editor does, on text
// from a file or standard input, for tests and batch runs.
//
//   vlfhost [--module FILE] --list
//   vlfhost [--module FILE] [--options CHARS] [--order-file PATH] [--utf16]
//           [INPUT [OUTPUT]]
//
// A path may be a Unix one: "/" is drive Z:, as Wine maps it. Each message
// box of the module is printed on standard error; given --options, a run
// answers them with OK so that it never waits for a person.
//
// Exit status: 0 when the filter returned a block, 1 when it returned
// null, 2 for usage, input and loading errors.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

#include "module.h"
#include "msgbox.h"
#include "paths.h"
#include "registry.h"
#include "report.h"
#include "textio.h"
#include "utf8.h"

enum { OPTION_BUFFER_SIZE = 256 };
enum { EXIT_BLOCK = 0, EXIT_NULL = 1, EXIT_USAGE = 2 };

static const char USAGE[] =
    "usage: vlfhost [--module FILE] --list\n"
    "       vlfhost [--module FILE] [--options CHARS] [--order-file PATH] [--utf16]\n"
    "               [INPUT [OUTPUT]]\n";

struct Args {
    const wchar_t *module;     // NULL: Tallorix.vlf beside this program
    const wchar_t *options;    // NULL: the buffer starts empty
    const wchar_t *orderFile;  // NULL: CustomFile is left as it is
    const wchar_t *input;      // NULL or "-": standard input
    const wchar_t *output;     // NULL or "-": standard output
    bool list;
    bool utf16;
};

// The value of option name at argv[*i]: "--name=VALUE" or "--name VALUE".
// NULL when argv[*i] is not that option; *missing when its value is.
static const wchar_t *OptionValue(wchar_t **argv, int argc, int *i, const wchar_t *name,
                                  bool *missing)
{
    const wchar_t *a = argv[*i] + 2;
    size_t n = wcslen(name);
    if (wcsncmp(a, name, n) != 0)
        return NULL;
    if (a[n] == L'=')
        return a + n + 1;
    if (a[n] != 0)
        return NULL;
    if (*i + 1 >= argc) {
        *missing = true;
        return NULL;
    }
    return argv[++*i];
}

static void SayWide(const char *format, const wchar_t *s)
{
    char *u = Utf8Dup(s);
    Say(format, u ? u : "?");
    free(u);
}

// Fills args from the command line; false, with the reason said, on a
// usage error. *help is set for --help.
static bool ParseArgs(int argc, wchar_t **argv, Args *args, bool *help)
{
    int positional = 0;
    bool options = true;
    for (int i = 1; i < argc; i++) {
        const wchar_t *a = argv[i];
        if (options && a[0] == L'-' && a[1] != 0) {
            bool missing = false;
            const wchar_t *v;
            if (wcscmp(a, L"--") == 0) {
                options = false;
            } else if (a[1] != L'-') {
                SayWide("unknown option %s", a);
                return false;
            } else if (wcscmp(a, L"--list") == 0) {
                args->list = true;
            } else if (wcscmp(a, L"--utf16") == 0) {
                args->utf16 = true;
            } else if (wcscmp(a, L"--help") == 0) {
                *help = true;
            } else if ((v = OptionValue(argv, argc, &i, L"module", &missing))) {
                args->module = v;
            } else if ((v = OptionValue(argv, argc, &i, L"options", &missing))) {
                args->options = v;
            } else if ((v = OptionValue(argv, argc, &i, L"order-file", &missing))) {
                args->orderFile = v;
            } else if (missing) {
                SayWide("option %s needs a value", a);
                return false;
            } else {
                SayWide("unknown option %s", a);
                return false;
            }
            continue;
        }
        if (positional == 0)
            args->input = a;
        else if (positional == 1)
            args->output = a;
        else {
            SayWide("unexpected argument %s", a);
            return false;
        }
        positional++;
    }
    if (args->list && (positional || args->options || args->orderFile || args->utf16)) {
        Say("--list takes no other option than --module");
        return false;
    }
    if (args->options) {
        size_t n = wcslen(args->options);
        if (n >= OPTION_BUFFER_SIZE) {
            Say("--options is longer than %d characters", OPTION_BUFFER_SIZE - 1);
            return false;
        }
        for (size_t k = 0; k < n; k++) {
            if (args->options[k] > 0x7F) {
                Say("--options must be ASCII");
                return false;
            }
        }
    }
    return true;
}

// The Windows form of a path argument; NULL, with *failed set, when it
// cannot be resolved.
static wchar_t *Resolve(const wchar_t *arg, bool *failed)
{
    wchar_t *p = WindowsPath(arg);
    if (!p) {
        SayWide("cannot resolve path %s", arg);
        *failed = true;
    }
    return p;
}

// As Resolve, but NULL for a stream: "-" or no argument.
static wchar_t *StreamArg(const wchar_t *arg, bool *failed)
{
    return !arg || wcscmp(arg, L"-") == 0 ? NULL : Resolve(arg, failed);
}

// Tallorix.vlf in the directory of this program.
static wchar_t *DefaultModule()
{
    wchar_t self[MAX_PATH + 16];
    DWORD n = GetModuleFileNameW(NULL, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return _wcsdup(L"Tallorix.vlf");
    wchar_t *slash = wcsrchr(self, L'\\');
    wcscpy(slash ? slash + 1 : self, L"Tallorix.vlf");
    return _wcsdup(self);
}

// A code-page-932 string of the module as UTF-8, from malloc.
static char *FromCp932(const char *s)
{
    if (!s)
        return _strdup("(null)");
    int n = MultiByteToWideChar(932, 0, s, -1, NULL, 0);
    wchar_t *w = n > 0 ? (wchar_t *)calloc(n, sizeof(wchar_t)) : NULL;
    if (!w)
        return _strdup("?");
    MultiByteToWideChar(932, 0, s, -1, w, n);
    char *u = Utf8Dup(w);
    free(w);
    return u ? u : _strdup("?");
}

static int List(const FilterModule *m)
{
    printf("version 0x%lx\n", (unsigned long)m->version);
    for (int i = 0; i < m->count; i++) {
        const FilterRecord *r = &m->filters[i];
        char *name = FromCp932(r->function);
        char *ja = FromCp932(r->captionJapanese);
        char *en = FromCp932(r->captionEnglish);
        printf("filter %d: %s\n  caption-ja: %s\n  caption-en: %s\n"
               "  bytes: %02x %02x %02x %02x\n",
               i, name, ja, en, r->hostBytes[0], r->hostBytes[1], r->hostBytes[2],
               r->hostBytes[3]);
        free(name);
        free(ja);
        free(en);
    }
    return fflush(stdout) == 0 ? EXIT_BLOCK : EXIT_USAGE;
}

// Takes over the filter's result: writes its text and frees it.
static int TakeResult(HGLOBAL block, const Args *args, const wchar_t *output, const char *outputName)
{
    if (!block) {
        Say("result is null");
        return EXIT_NULL;
    }
    size_t units = GlobalSize(block) / sizeof(WCHAR);
    const WCHAR *text = (const WCHAR *)GlobalLock(block);
    if (!text) {
        Say("result block cannot be locked: error %lu", GetLastError());
        GlobalFree(block);
        return EXIT_NULL;
    }
    size_t n = 0;
    while (n < units && text[n])
        n++;
    int status = EXIT_BLOCK;
    if (n == units) {
        Say("result has no NUL within its %lu bytes", (unsigned long)GlobalSize(block));
        status = EXIT_NULL;
    } else if (!WriteText(output, outputName, text, n, args->utf16)) {
        status = EXIT_USAGE;
    }
    GlobalUnlock(block);
    GlobalFree(block);
    return status;
}

static int Run(const Args *args)
{
    bool failed = false;
    wchar_t *module = args->module ? Resolve(args->module, &failed) : DefaultModule();
    wchar_t *input = StreamArg(args->input, &failed);
    wchar_t *output = StreamArg(args->output, &failed);
    wchar_t *orderFile = args->orderFile ? Resolve(args->orderFile, &failed) : NULL;
    char *moduleName = Utf8Dup(args->module ? args->module : module);
    char *inputName = input ? Utf8Dup(args->input) : _strdup("standard input");
    char *outputName = output ? Utf8Dup(args->output) : _strdup("standard output");
    if (failed)
        return EXIT_USAGE;
    if (!module || !moduleName || !inputName || !outputName) {
        Say("out of memory");
        return EXIT_USAGE;
    }

    FilterModule m;
    if (args->list)
        return LoadFilterModule(module, moduleName, &m) ? List(&m) : EXIT_USAGE;

    // Bad input is refused before the module or the registry is touched.
    size_t size;
    unsigned char *bytes = ReadAll(input, inputName, &size);
    wchar_t *text = bytes ? InputText(bytes, size, args->utf16) : NULL;
    free(bytes);
    if (!text)
        return EXIT_USAGE;
    if (orderFile && !StoreOrderFile(orderFile))
        return EXIT_USAGE;

    if (!LoadFilterModule(module, moduleName, &m))
        return EXIT_USAGE;
    FilterFunction filter = FindFilter(&m, 0);
    if (!filter)
        return EXIT_USAGE;

    char option[OPTION_BUFFER_SIZE] = {};
    if (args->options)
        for (size_t i = 0; args->options[i]; i++)
            option[i] = (char)args->options[i];

    // A run given its options is a batch run: no message box may wait for
    // a person. Without them the options dialog is for a person to answer.
    if (!WatchMessageBoxes(args->options != NULL))
        Say("message boxes cannot be watched: error %lu", GetLastError());
    HGLOBAL block = filter(NULL, text, option, OPTION_BUFFER_SIZE);
    StopWatching();
    return TakeResult(block, args, output, outputName);
}

int wmain(int argc, wchar_t **argv)
{
    BinaryStreams();
    Args args = {};
    bool help = false;
    if (!ParseArgs(argc, argv, &args, &help))
        return EXIT_USAGE;
    if (help) {
        fputs(USAGE, stdout);
        return 0;
    }
    return Run(&args);
}
