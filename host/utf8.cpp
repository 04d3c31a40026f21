#include "utf8.h"

#include <stdlib.h>
#include <wchar.h>

long DecodeUtf8(const unsigned char *s, size_t n, wchar_t *out, size_t *bad)
{
    size_t i = 0, k = 0;
    while (i < n) {
        unsigned c = s[i];
        size_t len;
        unsigned cp, min;
        if (c < 0x80) {
            out[k++] = (wchar_t)c;
            i++;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            len = 2, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4, cp = c & 0x07, min = 0x10000;
        } else {
            *bad = i;
            return -1;
        }
        if (n - i < len) {
            *bad = i;
            return -1;
        }
        for (size_t j = 1; j < len; j++) {
            if ((s[i + j] & 0xC0) != 0x80) {
                *bad = i;
                return -1;
            }
            cp = cp << 6 | (s[i + j] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            *bad = i;
            return -1;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out[k++] = (wchar_t)(0xD800 | cp >> 10);
            out[k++] = (wchar_t)(0xDC00 | (cp & 0x3FF));
        } else {
            out[k++] = (wchar_t)cp;
        }
        i += len;
    }
    return (long)k;
}

size_t EncodeUtf8(const wchar_t *s, size_t n, unsigned char *out)
{
    size_t k = 0;
    for (size_t i = 0; i < n; i++) {
        unsigned cp = (unsigned short)s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n &&
            (unsigned short)s[i + 1] >= 0xDC00 && (unsigned short)s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + ((unsigned short)s[i + 1] - 0xDC00);
            i++;
        }
        if (cp < 0x80) {
            out[k++] = (unsigned char)cp;
        } else if (cp < 0x800) {
            out[k++] = (unsigned char)(0xC0 | cp >> 6);
            out[k++] = (unsigned char)(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out[k++] = (unsigned char)(0xE0 | cp >> 12);
            out[k++] = (unsigned char)(0x80 | (cp >> 6 & 0x3F));
            out[k++] = (unsigned char)(0x80 | (cp & 0x3F));
        } else {
            out[k++] = (unsigned char)(0xF0 | cp >> 18);
            out[k++] = (unsigned char)(0x80 | (cp >> 12 & 0x3F));
            out[k++] = (unsigned char)(0x80 | (cp >> 6 & 0x3F));
            out[k++] = (unsigned char)(0x80 | (cp & 0x3F));
        }
    }
    return k;
}

char *Utf8Dup(const wchar_t *s)
{
    size_t n = wcslen(s);
    char *out = (char *)malloc(3 * n + 1);
    if (!out)
        return NULL;
    out[EncodeUtf8(s, n, (unsigned char *)out)] = 0;
    return out;
}
