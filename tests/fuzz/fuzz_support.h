// What the fuzz targets share: reading units out of the fuzzer's bytes and
// a scratch file for order files.
#ifndef TALLORIX_TESTS_FUZZ_FUZZ_SUPPORT_H
#define TALLORIX_TESTS_FUZZ_FUZZ_SUPPORT_H

#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <vector>

#include "engine/order_file.h"
#include "tests/reference/rules.h"

// Stops the fuzzer on a broken property; libFuzzer keeps the input.
#define REQUIRE(cond)                                                        \
    do {                                                                     \
        if (!(cond)) {                                                       \
            fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__,      \
                    __LINE__, #cond);                                        \
            abort();                                                         \
        }                                                                    \
    } while (0)

// In the compact encoding a byte below 0x80 is that ASCII unit and any
// other byte one of these: what the options and the order treat specially
// (ideographic space, the mark, full-width digits and letters), characters
// of every kind code page 932 knows or lacks, katakana whose trail byte is
// a lower-case letter, kanji and supplementary characters that
// data/BushuKakusuu.txt lists first, lone surrogates, and the kana and
// marks of dictionary order: 96 units, one for each byte up to 0xDF.
static const Unit16 kCompactUnits[] = {
    0x3000, 0xFEFF, 0xFFFE, 0xFFFF, 0x0080, 0x00A0, 0x00A5, 0x00E9, 0x0100, 0x0660, 0x2015,
    0x2225, 0x20AC, 0x2460, 0x301C, 0xFF5E, 0xFF10, 0xFF11, 0xFF19, 0xFF21, 0xFF22, 0xFF41,
    0xFF42, 0xFF5A, 0xFF61, 0xFF71, 0xFF9F, 0x3042, 0x3044, 0x3046, 0x30A2, 0x30F3, 0x30BA,
    0x30D3, 0x4E00, 0x4E01, 0x4E02, 0x4E03, 0x4E04, 0x4E05, 0x4E06, 0x4E85, 0x4E9C, 0x5B57,
    0x6F22, 0x9ED2, 0x9FA0, 0x0410, 0x03B1, 0x2500, 0xE000, 0xF8F0, 0xD840, 0xDC00, 0xDC01,
    0xD869, 0xDED9, 0xD800, 0xDBFF, 0xDFFF, 0xD840, 0xDC00, 0xD840, 0xDC01, 0xD869, 0xDED9,
    // What dictionary order reads specially: the long-sound and iteration
    // marks, the voicing marks combining and alone, kana voiced, small and
    // half-width, the kanji-like marks and the geta mark.
    0x30FC, 0xFF70, 0x309D, 0x309E, 0x30FD, 0x30FE, 0x3099, 0x309A, 0xFF9E, 0x309B, 0x309C,
    0x304B, 0x304C, 0x306F, 0x3071, 0x3083, 0x3084, 0x3063, 0x3093, 0x308F, 0x3094, 0x30AB,
    0x30F5, 0x30EF, 0x30F7, 0xFF76, 0xFF8A, 0xFF6C, 0x3003, 0x3013,
};

static inline Unit16 CompactUnit(uint8_t b)
{
    return b < 0x80 ? b : kCompactUnits[(b - 0x80) % (sizeof kCompactUnits / sizeof kCompactUnits[0])];
}

// In text read by TakeUnits, a compact byte of COMPACT_PIECE or more
// stands for a whole piece instead: digit runs of values about 2^31, 2^32
// and 2^64, longer than 20 digits or with many leading zeros, JAN codes and
// phone numbers; supplementary characters of the block of D842 (𠮟, 𠮷) and
// of D840, and lone or misplaced halves.
enum { COMPACT_PIECE = 0xE0 };

static const char16_t *const kCompactPieces[] = {
    u"2147483647", u"2147483648", u"4294967295", u"4294967296", u"4294967297", u"3000000000",
    u"18446744073709551615", u"18446744073709551616", u"18446744073709551617", u"00000000000000000000",
    u"99999999999999999999", u"100000000000000000000", u"0000000000000000000000000000001",
    u"123456789012345678901234567890", u"4547691689979", u"4901234567890", u"08011112222", u"0312345678",
    u"\U00020B9F", u"\U00020BB7", u"\U00020B80", u"\U00020BFF", u"\U00020000", u"\U00020001", u"\U00020400",
    u"\xD842", u"\xDF9F", u"\xDFB7", u"\xDFB7\xD842", u"\xD842\xD842\xDF9F",
};

static inline int Sign(int32_t v)
{
    return (v > 0) - (v < 0);
}

struct FuzzInput {
    const uint8_t *p;
    size_t left;
};

static inline uint8_t TakeByte(FuzzInput *in)
{
    if (!in->left)
        return 0;
    in->left--;
    return *in->p++;
}

// Up to count units (all that is left when count is SIZE_MAX): one byte
// each, or a piece, when compact, else little-endian pairs, a final odd
// byte dropped.
static inline RefUnits TakeUnits(FuzzInput *in, bool compact, size_t count)
{
    RefUnits u;
    while (u.size() < count) {
        if (compact && in->left >= 1) {
            uint8_t b = in->p[0];
            if (b >= COMPACT_PIECE) {
                const char16_t *piece =
                    kCompactPieces[(b - COMPACT_PIECE) % (sizeof kCompactPieces / sizeof kCompactPieces[0])];
                for (; *piece && u.size() < count; piece++)
                    u.push_back((Unit16)*piece);
            } else {
                u.push_back(CompactUnit(b));
            }
            in->p++;
            in->left--;
        } else if (!compact && in->left >= 2) {
            u.push_back((Unit16)(in->p[0] | in->p[1] << 8));
            in->p += 2;
            in->left -= 2;
        } else {
            break;
        }
    }
    return u;
}

// The scratch order file lives in a directory of its own under TMPDIR (the
// run script points it into build/fuzz), removed at exit.
static char scratchDir[ORDER_PATH_SIZE];
static char scratchFile[ORDER_PATH_SIZE];

static void RemoveScratch()
{
    unlink(scratchFile);
    rmdir(scratchDir);
}

static inline void MakeScratch()
{
    const char *tmp = getenv("TMPDIR");
    if (!tmp || !*tmp || strlen(tmp) > 200)
        tmp = "/tmp";
    snprintf(scratchDir, sizeof scratchDir, "%s/tallorix-fuzz-XXXXXX", tmp);
    if (!mkdtemp(scratchDir)) {
        perror("mkdtemp");
        abort();
    }
    snprintf(scratchFile, sizeof scratchFile, "%s/order.txt", scratchDir);
    atexit(RemoveScratch);
}

// Writes the scratch file: the bytes, then zeros up to size when size is
// larger (a sparse tail, so that files near the 4 MiB limit stay cheap).
static inline void WriteScratch(const void *bytes, size_t count, size_t size)
{
    int fd = open(scratchFile, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    REQUIRE(fd >= 0);
    REQUIRE(write(fd, bytes, count) == (ssize_t)count);
    if (size > count)
        REQUIRE(ftruncate(fd, (off_t)size) == 0);
    close(fd);
}

// The whole file, for the reference loader; it must be there.
static inline std::vector<uint8_t> ReadWholeFile(const char *path)
{
    std::vector<uint8_t> bytes = RefFileBytes(path);
    REQUIRE(!bytes.empty());
    return bytes;
}

#endif
