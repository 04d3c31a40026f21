#include "key_edits.h"

#include "platform.h"

template <typename U>
static size_t CollapseBlanks(U *key)
{
    U *out = key;
    for (const U *p = key; *p;) {
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

// Code page 932 never uses TAB, LF or SPACE as a trail byte, so the byte
// string can be collapsed without knowing where characters start.
size_t CollapseBlanksBytes(unsigned char *key)
{
    return CollapseBlanks(key);
}

size_t CollapseBlanksUnits(Unit16 *key)
{
    return CollapseBlanks(key);
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

void FoldCaseUnits(Unit16 *key)
{
    for (Unit16 *p = key; *p; p++)
        if (*p >= 'a' && *p <= 'z')
            *p -= 0x20;
}
