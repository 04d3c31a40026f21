// cp932_table OUTPUT
//
// Writes OUTPUT, the table of code page 932 that the native build compiles
// in (engine/cp932_table.inc): what WideCharToMultiByte(932, 0, ...) makes
// of each of the 65,536 UTF-16 code units alone, best fit included. Run
// under Wine through tools/wine-run, it records Wine's conversion; the Wine
// test cp932_table_tests holds the written table to the live one.
//
// The table can say only a conversion in which every unit gives one or two
// bytes of its own, whatever stands around it. So the program fails, and
// writes nothing, when a unit gives no bytes or more than two, when the
// default character is not '?', or when a surrogate pair gives other bytes
// than its two units alone (every one of the 1,048,576 pairs is tried).
#include <windows.h>

#include <stdio.h>
#include <string.h>

// Bytes of one unit: one byte below 0x100, else lead byte high and trail
// byte low; -1 when there are none or more than two.
static long ConvertUnit(WCHAR u)
{
    unsigned char out[8];
    int n = WideCharToMultiByte(932, 0, &u, 1, (char *)out, sizeof out, NULL, NULL);
    if (n == 1)
        return out[0];
    if (n == 2)
        return (long)out[0] << 8 | out[1];
    return -1;
}

// The bytes of v, as ConvertUnit gives them, at out; their count.
static int PutBytes(long v, unsigned char *out)
{
    if (v > 0xFF) {
        out[0] = (unsigned char)(v >> 8);
        out[1] = (unsigned char)v;
        return 2;
    }
    out[0] = (unsigned char)v;
    return 1;
}

// Whether every surrogate pair converts as its two units alone; the first
// that does not is said on standard error.
static bool PairsAsUnits(const long *table)
{
    for (unsigned hi = 0xD800; hi <= 0xDBFF; hi++) {
        for (unsigned lo = 0xDC00; lo <= 0xDFFF; lo++) {
            WCHAR pair[2] = {(WCHAR)hi, (WCHAR)lo};
            unsigned char got[16], want[4];
            int n = WideCharToMultiByte(932, 0, pair, 2, (char *)got, sizeof got, NULL, NULL);
            int m = PutBytes(table[hi], want);
            m += PutBytes(table[lo], want + m);
            if (n != m || memcmp(got, want, m) != 0) {
                fprintf(stderr, "cp932_table: the pair %04X %04X gives %d bytes, not its units' %d\n", hi, lo,
                        n, m);
                return false;
            }
        }
    }
    return true;
}

// Wine's version, or "Windows" outside Wine.
static const char *System()
{
    typedef const char *(CDECL * VersionFn)(void);
    static char name[64];
    VersionFn version = (VersionFn)(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    snprintf(name, sizeof name, version ? "Wine %s" : "Windows", version ? version() : "");
    return name;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: cp932_table OUTPUT\n");
        return 2;
    }
    CPINFO info;
    if (!GetCPInfo(932, &info) || info.DefaultChar[0] != '?' || info.DefaultChar[1] != 0) {
        fprintf(stderr, "cp932_table: the default character of code page 932 is not '?'\n");
        return 1;
    }
    static long table[65536];
    for (unsigned u = 0; u < 65536; u++) {
        table[u] = ConvertUnit((WCHAR)u);
        if (table[u] < 0) {
            fprintf(stderr, "cp932_table: U+%04X gives no bytes or more than two\n", u);
            return 1;
        }
    }
    if (!PairsAsUnits(table))
        return 1;

    FILE *f = fopen(argv[1], "wb");
    if (!f) {
        fprintf(stderr, "cp932_table: cannot write %s\n", argv[1]);
        return 1;
    }
    fprintf(f,
            "// Code page 932 as %s's WideCharToMultiByte(932, 0, ...) converts each\n"
            "// UTF-16 code unit alone, best fit included; made by tools/cp932_table.cpp:\n"
            "//   cmake --build build/win64 --target cp932_table\n"
            "//   tools/wine-run build/win64/cp932_table.exe engine/cp932_table.inc\n"
            "// {unit, bytes}: one byte below 0x100, else the lead byte high and the\n"
            "// trail byte low. A unit not listed converts to the default character '?'.\n"
            "// A surrogate pair converts as its two units alone.\n",
            System());
    for (unsigned u = 0; u < 65536; u++)
        if (table[u] != '?' || u == '?')
            fprintf(f, table[u] > 0xFF ? "{0x%04X, 0x%04lX},\n" : "{0x%04X, 0x%02lX},\n", u, table[u]);
    if (fclose(f) != 0) {
        fprintf(stderr, "cp932_table: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
