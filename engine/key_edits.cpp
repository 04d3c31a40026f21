#include "key_edits.h"

#include "platform.h"

// Code page 932 never uses TAB, LF or SPACE as a trail byte, so the byte
// string can be collapsed without knowing where characters start.
size_t CollapseBlanksBytes(unsigned char *key)
{
    unsigned char *out = key;
    for (const unsigned char *p = key; *p;) {
        if (*p == '\t' || *p == ' ') {
            *out++ = ' ';
            while (*p == '\t' || *p == ' ')
                p++;
        } else {
            *out++ = *p++;
        }
    }
    *out = 0;
    return (size_t)(out - key);
}

void FoldCaseBytes(unsigned char *key)
{
    // The lead-byte test is a system call: asked once per byte value, not
    // once per byte of the key.
    bool lead[256];
    for (int b = 0; b < 256; b++)
        lead[b] = PlatformIsCp932LeadByte((unsigned char)b);
    for (unsigned char *p = key; *p; p++) {
        if (*p >= 'a' && *p <= 'z')
            *p -= 0x20;
        else if (p[1] && lead[*p])
            p++;
    }
}

// The two edits touch different units, blanks and a-z, so one pass may do
// both in either order.
template <bool COLLAPSE, bool FOLD>
static void CopyEdited(Unit16 *out, const Unit16 *p)
{
    while (Unit16 c = *p) {
        if (COLLAPSE && (c == '\t' || c == ' ')) {
            *out++ = ' ';
            while (*p == '\t' || *p == ' ')
                p++;
            continue;
        }
        if (FOLD && c >= 'a' && c <= 'z')
            c -= 0x20;
        *out++ = c;
        p++;
    }
    *out = 0;
}

void CopyEditedUnits(Unit16 *key, const Unit16 *text, bool collapseBlanks, bool ignoreCase)
{
    if (collapseBlanks && ignoreCase)
        CopyEdited<true, true>(key, text);
    else if (collapseBlanks)
        CopyEdited<true, false>(key, text);
    else if (ignoreCase)
        CopyEdited<false, true>(key, text);
    else
        CopyEdited<false, false>(key, text);
}
