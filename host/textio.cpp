#include "textio.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "report.h"
#include "utf8.h"

unsigned char *ReadAll(const wchar_t *path, const char *name, size_t *n)
{
    FILE *f = path ? _wfopen(path, L"rb") : stdin;
    if (!f) {
        Say("cannot open %s: %s", name, strerror(errno));
        return NULL;
    }
    size_t size = 0, cap = 65536;
    unsigned char *buf = (unsigned char *)malloc(cap);
    while (buf) {
        size += fread(buf + size, 1, cap - size, f);
        if (size < cap)
            break;
        unsigned char *more = (unsigned char *)realloc(buf, cap * 2);
        if (!more) {
            free(buf);
            buf = NULL;
            break;
        }
        buf = more;
        cap *= 2;
    }
    bool failed = ferror(f);
    if (path)
        fclose(f);
    if (!buf) {
        Say("out of memory reading %s", name);
        return NULL;
    }
    if (failed) {
        Say("cannot read %s", name);
        free(buf);
        return NULL;
    }
    *n = size;
    return buf;
}

// Offset of the first NUL code unit, or n when there is none.
static size_t FirstNul(const unsigned char *bytes, size_t n, bool utf16)
{
    if (!utf16) {
        const void *p = memchr(bytes, 0, n);
        return p ? (size_t)((const unsigned char *)p - bytes) : n;
    }
    for (size_t i = 0; i + 1 < n; i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    return n;
}

wchar_t *InputText(const unsigned char *bytes, size_t n, bool utf16)
{
    if (utf16 && n % 2) {
        Say("input has an odd number of bytes (%lu) for UTF-16", (unsigned long)n);
        return NULL;
    }
    wchar_t *text = (wchar_t *)malloc((n + 1) * sizeof(wchar_t));
    if (!text) {
        Say("out of memory for %lu bytes of input", (unsigned long)n);
        return NULL;
    }
    // The module takes the text up to its first NUL: one inside would cut
    // it short. Whichever fault comes first is the one reported.
    size_t nul = FirstNul(bytes, n, utf16), bad = n;
    long units;
    if (utf16) {
        units = (long)(n / 2);
        for (long i = 0; i < units; i++)
            text[i] = (wchar_t)(bytes[2 * i] | bytes[2 * i + 1] << 8);
    } else {
        units = DecodeUtf8(bytes, n, text, &bad);
    }
    if (units < 0 && bad <= nul) {
        Say("input is not valid UTF-8 at byte offset %lu", (unsigned long)bad);
    } else if (nul < n) {
        Say("input holds a NUL at byte offset %lu", (unsigned long)nul);
    } else {
        text[units] = 0;
        return text;
    }
    free(text);
    return NULL;
}

bool WriteText(const wchar_t *path, const char *name, const wchar_t *text, size_t units,
               bool utf16)
{
    size_t n;
    unsigned char *bytes = (unsigned char *)malloc(units * 3 + 1);
    if (!bytes) {
        Say("out of memory for %lu units of output", (unsigned long)units);
        return false;
    }
    if (utf16) {
        for (size_t i = 0; i < units; i++) {
            bytes[2 * i] = (unsigned char)(text[i] & 0xFF);
            bytes[2 * i + 1] = (unsigned char)((unsigned short)text[i] >> 8);
        }
        n = units * 2;
    } else {
        n = EncodeUtf8(text, units, bytes);
    }

    FILE *f = path ? _wfopen(path, L"wb") : stdout;
    if (!f) {
        Say("cannot create %s: %s", name, strerror(errno));
        free(bytes);
        return false;
    }
    bool ok = fwrite(bytes, 1, n, f) == n;
    ok = fflush(f) == 0 && ok;
    if (path)
        ok = fclose(f) == 0 && ok;
    free(bytes);
    if (!ok)
        Say("cannot write %s", name);
    return ok;
}
