// The version resource of the real Tallorix.vlf, read as the file's
// properties read it: GetFileVersionInfoA and VerQueryValueA. The texts come
// back in the ANSI code page, 932 under the test's locale.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "check.h"

static char *info;

// Each VALUE of the two string blocks, as VerQueryValueA hands it back.
struct TextCase {
    const char *block;
    const char *name;
    const char *expected;
};

static void TestTexts()
{
    // The narrow literals are compiled to code page 932.
    static const TextCase cases[] = {
        {"041103a4", "FileDescription", "カスタムソート - 選択した行を並べ替える Veltrane 用フィルタ"},
        {"041103a4", "FileVersion", EXPECTED_VERSION},
        {"041103a4", "ProductVersion", EXPECTED_VERSION},
        {"041103a4", "ProductName", "Tallorix"},
        {"041103a4", "OriginalFilename", "Tallorix.vlf"},
        {"040904e4", "FileDescription", "CustomSort - line-sort filter for Veltrane"},
        {"040904e4", "FileVersion", EXPECTED_VERSION},
        {"040904e4", "ProductVersion", EXPECTED_VERSION},
        {"040904e4", "ProductName", "Tallorix"},
        {"040904e4", "OriginalFilename", "Tallorix.vlf"},
    };
    for (const TextCase &c : cases) {
        char query[80];
        snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", c.block, c.name);
        char *text = NULL;
        UINT length = 0;
        BOOL found = VerQueryValueA(info, query, (void **)&text, &length);
        CHECK(found && text && strcmp(text, c.expected) == 0, "%s: %s", query, found && text ? text : "(none)");
    }

    static const char *const blocks[] = {"041103a4", "040904e4"};
    for (const char *block : blocks) {
        char query[80];
        snprintf(query, sizeof query, "\\StringFileInfo\\%s\\LegalCopyright", block);
        char *text = NULL;
        UINT length = 0;
        BOOL found = VerQueryValueA(info, query, (void **)&text, &length);
        CHECK(found && text && strncmp(text, "Copyright (c) ", 14) == 0 && strstr(text, " the Tallorix authors"),
              "%s: %s", query, found && text ? text : "(none)");
    }
}

// The translation table names the two blocks: Japanese in code page 932,
// English in code page 1252.
static void TestTranslations()
{
    WORD *pairs = NULL;
    UINT length = 0;
    BOOL found = VerQueryValueA(info, "\\VarFileInfo\\Translation", (void **)&pairs, &length);
    CHECK(found && length == 8, "translation table of %u bytes", length);
    if (found && length == 8)
        CHECK(pairs[0] == 0x0411 && pairs[1] == 932 && pairs[2] == 0x0409 && pairs[3] == 1252,
              "translations %04x/%u %04x/%u", pairs[0], pairs[1], pairs[2], pairs[3]);
}

// The numbers of the fixed part: MAJOR.MINOR.PATCH.0, file and product alike.
static void TestFixedInfo()
{
    unsigned major = 0, minor = 0, patch = 0;
    CHECK(sscanf(EXPECTED_VERSION, "%u.%u.%u", &major, &minor, &patch) == 3, "version %s", EXPECTED_VERSION);
    VS_FIXEDFILEINFO *fixed = NULL;
    UINT length = 0;
    BOOL found = VerQueryValueA(info, "\\", (void **)&fixed, &length);
    CHECK(found && fixed && length >= sizeof *fixed, "fixed file info");
    if (!(found && fixed))
        return;
    DWORD ms = MAKELONG(minor, major), ls = MAKELONG(0, patch);
    CHECK(fixed->dwSignature == VS_FFI_SIGNATURE, "signature %08lx", fixed->dwSignature);
    CHECK(fixed->dwFileVersionMS == ms && fixed->dwFileVersionLS == ls, "file version %08lx %08lx",
          fixed->dwFileVersionMS, fixed->dwFileVersionLS);
    CHECK(fixed->dwProductVersionMS == ms && fixed->dwProductVersionLS == ls, "product version %08lx %08lx",
          fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    CHECK(fixed->dwFileType == VFT_DLL, "file type %lu", fixed->dwFileType);
    CHECK(fixed->dwFileFlags == 0, "file flags %08lx", fixed->dwFileFlags);
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: version_tests MODULE\n");
        return 2;
    }
    const char *modulePath = argv[1];
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(modulePath, &handle);
    CHECK(size > 0, "GetFileVersionInfoSizeA: error %lu", GetLastError());
    if (size == 0)
        return CheckSummary();
    info = (char *)LocalAlloc(LMEM_ZEROINIT, size);
    BOOL read = info && GetFileVersionInfoA(modulePath, 0, size, info);
    CHECK(read, "GetFileVersionInfoA: error %lu", GetLastError());
    if (read) {
        TestTexts();
        TestTranslations();
        TestFixedInfo();
    }
    LocalFree(info);
    return CheckSummary();
}
