// The order files of data/ through the real Tallorix.vlf: each loads without
// a message, and a fixed list of lines sorts with each as written out here,
// ascending and descending.
//
// usage: order_data_tests Tallorix.vlf DATA-FOLDER (a Unix or Windows path)
#include <windows.h>

#include <string.h>
#include <string>

#include "check.h"
#include "sort_calls.h"
#include "tests/reference/rules.h"
// Of the registry helpers this program needs only a few.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include "registry_raw.h"
#include "settings_access.h"
#pragma GCC diagnostic pop

// Radical, then the strokes beyond it, then code point.
static const WCHAR *const bushuInput[] = {
    L"木村", L"山田", L"嶺", L"﨑山", L"崎山", L"岡本", L"峠", L"休日", L"一ノ瀬", L"乙部", L"丁子",
    L"人見", L"叱咤", L"𠮟責", L"吉田", L"𠮷野家", L"鮭", L"𩸽", L"言葉", L"やまだ", L"山口", NULL};
static const WCHAR *const bushuSorted[] = {
    L"やまだ",    // kana are not in the file: before every character that is
    L"一ノ瀬",    // radical 1 一, no further stroke
    L"丁子",      // radical 1, one further stroke
    L"乙部",      // radical 5 乙: after radical 1 though 乙 (U+4E59) > 丁
    L"人見",      // radical 9 人
    L"休日",      // 人 and 4
    L"叱咤",      // 口 and 2
    L"𠮟責",      // 口 and 2 too: the higher code point; a surrogate pair ranked as one
    L"吉田",      // 口 and 3: after 𠮟 (U+20B9F) though its code is lower
    L"𠮷野家",    // 口 and 3, U+20BB7: after 𠮟, which shares its high surrogate
    L"山口",      // the same first character: the second decides, 口 before 田
    L"山田",
    L"岡本",      // 山 and 5
    L"峠",        // 山 and 6
    L"崎山",      // 山 and 8
    L"﨑山",      // 山 and 9: the compatibility character U+FA11 among the others
    L"嶺",        // 山 and 14: after 﨑 though U+5DBA < U+FA11
    L"木村",      // radical 75 木
    L"言葉",      // radical 149 言
    L"鮭",        // radical 195 魚 and 6
    L"𩸽",        // 魚 and 8, a supplementary character
    NULL};

// Total strokes as Japanese counts them, then the radical order above.
static const WCHAR *const kakusuuInput[] = {
    L"山田", L"𩸽", L"木村", L"以上", L"鬱", L"二宮", L"侮蔑", L"金子", L"乗松", L"一ノ瀬", L"乙部",
    L"川口", L"山口", L"齋藤", L"斉藤", L"崎山", L"﨑山", L"叱咤", L"𠮟責", L"石井", L"やまだ", NULL};
static const WCHAR *const kakusuuSorted[] = {
    L"やまだ",    // not listed: first
    L"一ノ瀬",    // 1 stroke, radical 1
    L"乙部",      // 1 stroke, radical 5
    L"二宮",      // 2
    L"山口",      // 3; the second character decides, 口 (3) before 田 (5)
    L"山田",
    L"川口",      // 3 as well: radical 47 川 after radical 46 山
    L"木村",      // 4
    L"以上",      // 5 in Japanese (Unihan's kTotalStrokes says 4)
    L"叱咤",      // 5, radical 30 口
    L"𠮟責",      // 5, 口 and 2 like 叱, a higher code point
    L"石井",      // 5, radical 112 石
    L"侮蔑",      // 8 in Japanese, with 毎 (the Chinese count with 毋 is 9)
    L"斉藤",      // 8, radical 67 文
    L"金子",      // 8, radical 167 金
    L"乗松",      // 9: after 金 though 乗 has the lowest code point of all
    L"崎山",      // 11
    L"﨑山",      // 12: the compatibility form of 崎, 立 for 大
    L"齋藤",      // 17, where 斉 of the same name has 8
    L"𩸽",        // 18
    L"鬱",        // 29
    NULL};

// Two supplementary characters of one block of 1,024 (the same high
// surrogate) compare by their own places in the file, whatever the places
// of their low surrogates alone: 𩵋 (10 strokes) before 𩸽 (18).
static const WCHAR *const kakusuuBlockInput[] = {L"𩸽", L"𩵋", NULL};
static const WCHAR *const kakusuuBlockSorted[] = {L"𩵋", L"𩸽", NULL};

// Digits, Latin letters, kana by sound, then kanji.
static const WCHAR *const gojuonInput[] = {
    L"山田", L"ヰスキー", L"ぱん", L"はな", L"わたなべ", L"ﾀﾅｶ", L"サイトウ", L"さとう", L"きやく",
    L"きゃく", L"がとう", L"ｶﾞﾄｳ", L"かとう", L"ｱｵｷ", L"アオキ", L"あー", L"あん", L"あおき", L"Ｂ",
    L"abc", L"ABC", L"１２３", L"123", L"(株)たなか", NULL};
static const WCHAR *const gojuonSorted[] = {
    L"(株)たなか",  // punctuation is not listed: before everything listed
    L"123",         // digits first
    L"１２３",      // full-width 1 right after ASCII 1
    L"ABC",         // then the Latin letters: A Ａ a ａ B
    L"abc",
    L"Ｂ",          // full-width B after a; by code it would follow every kana
    L"あおき",      // あ ア ｱ: one sound, hiragana, katakana, half-width
    L"あん",
    L"あー",        // the long-sound mark follows every kana, ん included
    L"アオキ",      // the first character decides: あー before アオキ
    L"ｱｵｷ",
    L"かとう",
    L"ｶﾞﾄｳ",        // half-width ｶﾞ is ｶ and a mark, so it sorts as ｶ: before が
    L"がとう",      // voiced after plain
    L"きゃく",      // small ゃ before や; a dictionary puts きやく first
    L"きやく",
    L"さとう",      // さ before サ decides; a dictionary puts サイトウ first
    L"サイトウ",
    L"ﾀﾅｶ",         // た row, half-width among the others
    L"はな",        // plain は before semi-voiced ぱ
    L"ぱん",
    L"わたなべ",
    L"ヰスキー",    // ゐ ヰ after わ, as in the syllabary
    L"山田",        // kanji last
    NULL};

struct OrderCase {
    const char *what;
    const char *file;  // in the data folder
    const WCHAR *const *input;
    const WCHAR *const *sorted;
};

static std::string dataFolder;

static std::string DataFile(const char *name)
{
    return dataFolder + "\\" + name;
}

// The lines, each ended by LF; the last without one when unended is set.
static std::wstring Text(const WCHAR *const *lines, bool reversed = false, bool unended = false)
{
    int n = 0;
    while (lines[n])
        n++;
    std::wstring text;
    for (int i = 0; i < n; i++) {
        text += lines[reversed ? n - 1 - i : i];
        if (i < n - 1 || !unended)
            text += L'\n';
    }
    return text;
}

static void CheckText(const char *what, const char *option, const Result &r, const std::wstring &expected)
{
    CHECK(!r.null, "%s, %s: null result", what, option);
    if (r.null || r.text == expected)
        return;
    size_t at = 0;
    while (at < r.text.size() && at < expected.size() && r.text[at] == expected[at])
        at++;
    size_t from = at < 8 ? 0 : at - 8;
    CHECK(false, "%s, %s: first difference at unit %u: got \"%s\", expected \"%s\"", what, option,
          (unsigned)at, Narrow(r.text.substr(from, 24)).c_str(), Narrow(expected.substr(from, 24)).c_str());
}

static void TestOrderFiles()
{
    static const OrderCase cases[] = {
        {"BushuKakusuu.txt", "BushuKakusuu.txt", bushuInput, bushuSorted},
        {"Kakusuu.txt", "Kakusuu.txt", kakusuuInput, kakusuuSorted},
        {"Kakusuu.txt, one block of 1,024", "Kakusuu.txt", kakusuuBlockInput, kakusuuBlockSorted},
        {"Gojuon.txt", "Gojuon.txt", gojuonInput, gojuonSorted},
    };
    for (const OrderCase &c : cases) {
        SetString("CustomFile", DataFile(c.file).c_str());
        std::wstring input = Text(c.input, false, true);

        boxCount = 0;
        Result up = RunSort("000011", 6, input.c_str());
        CheckText(c.what, "000011", up, Text(c.sorted));
        Result down = RunSort("100011", 6, input.c_str());
        CheckText(c.what, "100011", down, Text(c.sorted, true));
        // Outside Unicode mode the file is still loaded.
        Result bytes = RunSort("000001", 6, input.c_str());
        CHECK(!bytes.null, "%s, 000001: null result", c.what);
        CHECK(boxCount == 0, "%s: %d messages, last \"%s\"", c.what, boxCount, lastBox);
    }
    SetString("CustomFile", NULL);
}

// 200,000 lines of 𠮟 and 𠮷 (one high surrogate) with BushuKakusuu.txt,
// as they are and numbered with blanks collapsed: every line where the
// procedure puts it with the reference order and the file's ranks.
static void TestShikaruYoshi()
{
    std::string file = DataFile("BushuKakusuu.txt");
    std::vector<unsigned char> bytes = RefFileBytes(file.c_str());
    RefRanks ranks;
    RefMakeRanks(RefLoadOrder(bytes.data(), bytes.size()).table, &ranks);
    auto rank = [&ranks](const Unit16 *at) { return RefRankOf(ranks, at); };
    const std::vector<std::wstring> keys = {L"\U00020BB7", L"\U00020B9F"};
    SetString("CustomFile", file.c_str());
    for (bool numbered : {false, true}) {
        KeyLines k = MakeKeyLines(keys, 200000, numbered);
        auto cmp = [&](size_t i, size_t j) {
            return RefCustom((const Unit16 *)keys[i].c_str(), (const Unit16 *)keys[j].c_str(), rank);
        };
        CheckProcedureResult("U+20B9F and U+20BB7", numbered ? "010011" : "000011", k, cmp);
        CheckProcedureResult("U+20B9F and U+20BB7", numbered ? "110011" : "100011", k,
                             [&](size_t i, size_t j) { return cmp(j, i); });
    }
    SetString("CustomFile", NULL);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: order_data_tests Tallorix.vlf DATA-FOLDER\n");
        return 2;
    }
    // A Unix path is one on drive Z:, Wine's view of "/".
    dataFolder = argv[2][0] == '/' ? std::string("Z:") + argv[2] : argv[2];
    for (char &k : dataFolder)
        if (k == '/')
            k = '\\';

    FoundSettings found = FindSettings();
    if (!LoadModule(argv[1]))
        return CheckSummary();
    TestOrderFiles();
    TestShikaruYoshi();
    UnloadModule();

    PutBackSettings(found);
    return CheckSummary();
}
