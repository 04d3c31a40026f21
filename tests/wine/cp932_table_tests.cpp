// The committed table of code page 932 (engine/cp932_table.inc), which the
// native build converts with, against the live WideCharToMultiByte(932, 0,
// ...) that the module calls: every code unit alone, and whole strings in
// which surrogates stand in pairs, alone and out of order. Needs no module.
#include <windows.h>

#include <string>

#include "check.h"
#include "tests/reference/cp932.h"

static std::string Live(const std::wstring &s)
{
    char out[64];
    int n = WideCharToMultiByte(932, 0, s.data(), (int)s.size(), out, sizeof out, NULL, NULL);
    return std::string(out, n > 0 ? n : 0);
}

static std::string Table(const std::wstring &s)
{
    std::vector<uint8_t> b = RefToCp932((const uint16_t *)s.data(), s.size());
    return std::string(b.begin(), b.end());
}

static std::string Hex(const std::string &s)
{
    std::string h;
    char x[4];
    for (unsigned char c : s) {
        snprintf(x, sizeof x, " %02X", c);
        h += x;
    }
    return h;
}

static void TestEveryUnit()
{
    int wrong = 0;
    for (unsigned u = 0; u < 65536; u++) {
        std::wstring s(1, (WCHAR)u);
        std::string live = Live(s), table = Table(s);
        if (live != table && ++wrong <= 10)
            fprintf(stderr, "U+%04X: live%s, table%s\n", u, Hex(live).c_str(), Hex(table).c_str());
    }
    CHECK(wrong == 0, "%d units convert otherwise than the table says", wrong);
}

struct StringCase {
    const char *what;
    std::wstring in;
    std::string out;
};

static void TestStrings()
{
    static const StringCase cases[] = {
        {"pair, emoji U+1F600", L"\xD83D\xDE00", "??"},
        {"pair, kanji U+20B9F", L"\xD842\xDF9F", "??"},
        {"pair amid text", L"a\xD83D\xDE00" L"b", "a??b"},
        {"lone high", L"\xD83D", "?"},
        {"lone low", L"\xDE00", "?"},
        {"lone high, then text", L"\xDBFF" L"a", "?a"},
        {"text, then lone high", L"a\xD800", "a?"},
        {"low before high", L"\xDC00\xD800", "??"},
        {"high, then a pair", L"\xD83D\xD83D\xDE00", "???"},
        {"pair, then a low", L"\xD83D\xDE00\xDE00", "???"},
        {"pair between best fit and kanji", L"\x00E9\xD840\xDC00\x6F22", "e??\x8A\xBF"},
        {"ending NUL", std::wstring(L"\x3042\xD83D", 3), std::string("\x82\xA0?", 4)},
    };
    for (const StringCase &c : cases) {
        std::string live = Live(c.in), table = Table(c.in);
        CHECK(live == c.out, "%s: live%s", c.what, Hex(live).c_str());
        CHECK(table == c.out, "%s: table%s", c.what, Hex(table).c_str());
    }
}

int main()
{
    TestEveryUnit();
    TestStrings();
    return CheckSummary();
}
