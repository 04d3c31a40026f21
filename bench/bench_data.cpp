#include "bench_data.h"

#include <stdio.h>

const BenchMode benchModes[] = {
    {"cp932", "000000"},
    {"unicode", "000010"},
    {"numeric-cp932", "000100"},
    {"numeric-unicode", "000110"},
    {"icase-blanks-cp932", "011000"},
    {"icase-blanks-unicode", "011010"},
    {"desc-cp932", "100000"},
    {"desc-unicode", "100010"},
    {"custom", "000011"},
    {"dictionary", "0000001"},
};
const int benchModeCount = sizeof benchModes / sizeof *benchModes;

static uint64_t state;

uint32_t SplitMix(uint64_t *state, uint32_t below)
{
    uint64_t z = (*state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return (uint32_t)(z % below);
}

static uint32_t Next(uint32_t below)
{
    return SplitMix(&state, below);
}

static void Ascii(std::vector<uint16_t> &t, const char *s)
{
    while (*s)
        t.push_back((uint8_t)*s++);
}

static void Number(std::vector<uint16_t> &t, uint32_t n)
{
    char b[16];
    snprintf(b, sizeof b, "%u", (unsigned)n);
    Ascii(t, b);
}

static const char *const words[] = {"alpha", "Bravo", "charlie", "Delta", "echo", "Foxtrot", "golf",
                                    "Hotel", "india", "JULIET", "kilo", "Lima", "mike", "November",
                                    "oscar", "Papa", "quebec", "Romeo", "sierra", "Tango"};
static const int wordCount = sizeof words / sizeof *words;

static void JapaneseWord(std::vector<uint16_t> &t)
{
    int kind = Next(4);
    int length = 2 + Next(4);
    for (int i = 0; i < length; i++) {
        if (kind < 2)
            t.push_back((uint16_t)(0x4E00 + Next(0x51A6)));  // kanji
        else if (kind == 2)
            t.push_back((uint16_t)(0x3042 + Next(0x50)));  // hiragana
        else
            t.push_back((uint16_t)(0x30A2 + Next(0x50)));  // katakana
    }
}

static void AsciiWords(std::vector<uint16_t> &t)
{
    int count = 1 + Next(4);
    for (int i = 0; i < count; i++) {
        if (i)
            Ascii(t, Next(6) ? " " : Next(2) ? "\t" : "   ");
        if (Next(3) == 0)
            Number(t, Next(5) ? Next(1000) : Next(4000000000u));
        else
            Ascii(t, words[Next(wordCount)]);
    }
}

static void FileName(std::vector<uint16_t> &t)
{
    static const char *const stems[] = {"IMG_", "DSC", "photo-", "report_", "Scan ", "data"};
    static const char *const ends[] = {".jpg", ".JPG", ".png", ".txt", ".csv", ".tar.gz"};
    Ascii(t, stems[Next(6)]);
    Number(t, Next(2) ? Next(200) : Next(100000));
    if (Next(4) == 0) {
        Ascii(t, "_");
        Number(t, Next(100));
    }
    Ascii(t, ends[Next(6)]);
}

std::vector<uint16_t> MakeBenchText(size_t lines, uint64_t seed)
{
    state = seed;
    std::vector<uint16_t> t;
    t.reserve(lines * 14 + 1);
    for (size_t i = 0; i < lines; i++) {
        uint32_t kind = Next(100);
        if (kind < 40) {
            JapaneseWord(t);
            if (Next(3) == 0) {
                t.push_back(0x3000);
                JapaneseWord(t);
            }
        } else if (kind < 70) {
            AsciiWords(t);
        } else {
            FileName(t);
        }
        if (Next(10) == 0)
            t.push_back('\r');
        t.push_back('\n');
    }
    t.push_back(0);
    return t;
}
