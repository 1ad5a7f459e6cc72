// The Windows code pages Quillet offers, each with the ICU converter that converts it as
// Windows does (checked against Python's codecs, see tests/platform/nls), the character that
// replaces undecodable bytes, and the name Windows shows for it on a Japanese system.
//
// Left out on purpose: 1200/1201 (UTF-16 is not a byte code page for the program's
// purposes), EBCDIC pages, 864 (ICU's IBM table differs from Windows' in the shaping
// forms), 1361 Johab (no ICU converter), ISCII 57002-57011 and ISO-2022 50221/50222/50227/
// 50229 (ICU has no converter that behaves like the Windows one).

#include "platform/nls/CodePageTable.h"

#include <algorithm>
#include <iterator>

namespace platform::nls::detail {
namespace {

constexpr char16_t kQuestion = u'?';
// The katakana middle dot: what Windows' double-byte tables decode an unmapped code to.
constexpr char16_t kMiddleDot = u'\u30FB';
constexpr char16_t kReplacement = u'\uFFFD';

using K = PageKind;

// IBM's PC tables, which ICU uses for the OEM pages and Shift_JIS, rotate three controls
// (byte 1A gives U+001C, 1C gives U+007F, 7F gives U+001A); Windows keeps them in place.
constexpr UnitRemap kIbmControls[] = {
    {u'\x1C', u'\x1A'}, {u'\x7F', u'\x1C'}, {u'\x1A', u'\x7F'}};
// ...and some of those tables read E6 as the Greek mu where Windows has the micro sign.
constexpr UnitRemap kIbmControlsMicro[] = {
    {u'\x1C', u'\x1A'}, {u'\x7F', u'\x1C'}, {u'\x1A', u'\x7F'}, {u'\u03BC', u'\u00B5'}};
constexpr UnitRemap kIbm869[] = {
    {u'\x1C', u'\x1A'}, {u'\x7F', u'\x1C'}, {u'\x1A', u'\x7F'},
    {u'\u0387', u'\u00B7'}, {u'\u00B4', u'\u0384'}};
// Windows maps 720's unused upper bytes to the C1 controls of the same value.
constexpr ExtraByte kIbm720Bytes[] = {{0x80, u'\x80'}, {0x81, u'\x81'}, {0x84, u'\x84'},
                                      {0x86, u'\x86'}, {0x8D, u'\x8D'}, {0x8E, u'\x8E'},
                                      {0x8F, u'\x8F'}, {0x90, u'\x90'}};
constexpr ExtraByte kIbm852Bytes[] = {{0xAA, u'\u00AC'}};

// Windows' Shift_JIS reads the single bytes 80, A0 and FD..FF (which have no character)
// as U+0080 and private-use characters, so they survive a round trip.
constexpr ExtraByte kShiftJisBytes[] = {{0x80, u'\x80'},
                                        {0xA0, u'\uF8F0'},
                                        {0xFD, u'\uF8F1'},
                                        {0xFE, u'\uF8F2'},
                                        {0xFF, u'\uF8F3'}};
// The JIS X 0208 standard's characters where Windows' table has the full-width forms:
// text from other systems (the wave dash above all) still saves as the code a Japanese
// reader expects.
constexpr ExtraBestFit kShiftJisBestFits[] = {
    {u'\u00A2', 0x8191}, {u'\u00A3', 0x8192}, {u'\u00AC', 0x81CA},
    {u'\u2016', 0x8161}, {u'\u2212', 0x817C}, {u'\u301C', 0x8160}};
// EUC-JP with the JIS standard's mappings rather than the Windows full-width forms that
// ICU's EUC-JP table gives.
constexpr UnitRemap kJisStandard[] = {
    {u'\uFF5E', u'\u301C'}, {u'\u2225', u'\u2016'}, {u'\uFF0D', u'\u2212'},
    {u'\uFFE0', u'\u00A2'}, {u'\uFFE1', u'\u00A3'}, {u'\uFFE2', u'\u00AC'}};

constexpr PageQuirks kOem{kIbmControls, {}, {}};
constexpr PageQuirks kOemMicro{kIbmControlsMicro, {}, {}};
constexpr PageQuirks kOem720{kIbmControls, kIbm720Bytes, {}};
constexpr PageQuirks kOem852{kIbmControls, kIbm852Bytes, {}};
constexpr PageQuirks kOem869{kIbm869, {}, {}};
constexpr PageQuirks kShiftJis{kIbmControls, kShiftJisBytes, kShiftJisBestFits};
constexpr PageQuirks kEucJis{kJisStandard, {}, {}};

// Ascending by code page: findPage searches it by bisection.
constexpr PageEntry kPages[] = {
    {437, "ibm-437_P100-1995", K::SingleByte, kQuestion, u"OEM - アメリカ", &kOemMicro},
    {720, "ibm-720_P100-1997", K::SingleByte, kQuestion, u"OEM - アラビア語", &kOem720},
    {737, "ibm-737_P100-1997", K::SingleByte, kQuestion, u"OEM - ギリシャ語 437G", &kOem},
    {775, "ibm-775_P100-1996", K::SingleByte, kQuestion, u"OEM - バルト", &kOem},
    {850, "ibm-850_P100-1995", K::SingleByte, kQuestion, u"OEM - マルチリンガル ラテン I", &kOem},
    {852, "ibm-852_P100-1995", K::SingleByte, kQuestion, u"OEM - ラテン II", &kOem852},
    {855, "ibm-855_P100-1995", K::SingleByte, kQuestion, u"OEM - キリル", &kOem},
    {857, "ibm-857_P100-1995", K::SingleByte, kQuestion, u"OEM - トルコ語", &kOem},
    {858, "ibm-858_P100-1997", K::SingleByte, kQuestion,
     u"OEM - マルチリンガル ラテン I + ユーロ", &kOem},
    {860, "ibm-860_P100-1995", K::SingleByte, kQuestion, u"OEM - ポルトガル語", &kOemMicro},
    {861, "ibm-861_P100-1995", K::SingleByte, kQuestion, u"OEM - アイスランド語", &kOemMicro},
    {862, "ibm-862_P100-1995", K::SingleByte, kQuestion, u"OEM - ヘブライ語", &kOemMicro},
    {863, "ibm-863_P100-1995", K::SingleByte, kQuestion, u"OEM - フランス語 (カナダ)", &kOemMicro},
    {865, "ibm-865_P100-1995", K::SingleByte, kQuestion, u"OEM - 北欧", &kOemMicro},
    {866, "ibm-866_P100-1995", K::SingleByte, kQuestion, u"OEM - ロシア語", &kOem},
    {869, "ibm-869_P100-1995", K::SingleByte, kQuestion, u"OEM - 現代ギリシャ語", &kOem869},
    {874, "windows-874-2000", K::SingleByte, kQuestion, u"ANSI/OEM - タイ語"},
    {932, "ibm-943_P15A-2003", K::DoubleByte, kMiddleDot, u"ANSI/OEM - 日本語 Shift-JIS", &kShiftJis},
    {936, "windows-936-2000", K::DoubleByte, kMiddleDot, u"ANSI/OEM - 簡体字中国語 GBK"},
    {949, "windows-949-2000", K::DoubleByte, kMiddleDot,
     u"ANSI/OEM - 韓国語 統合ハングル コード"},
    {950, "windows-950-2000", K::DoubleByte, kMiddleDot, u"ANSI/OEM - 繁体字中国語 Big5"},
    {1250, "ibm-5346_P100-1998", K::SingleByte, kQuestion, u"ANSI - 中央ヨーロッパ"},
    {1251, "ibm-5347_P100-1998", K::SingleByte, kQuestion, u"ANSI - キリル"},
    {1252, "ibm-5348_P100-1997", K::SingleByte, kQuestion, u"ANSI - ラテン I"},
    {1253, "ibm-5349_P100-1998", K::SingleByte, kQuestion, u"ANSI - ギリシャ語"},
    {1254, "ibm-5350_P100-1998", K::SingleByte, kQuestion, u"ANSI - トルコ語"},
    {1255, "ibm-9447_P100-2002", K::SingleByte, kQuestion, u"ANSI - ヘブライ語"},
    {1256, "ibm-9448_X100-2005", K::SingleByte, kQuestion, u"ANSI - アラビア語"},
    {1257, "ibm-9449_P100-2002", K::SingleByte, kQuestion, u"ANSI - バルト"},
    {1258, "ibm-5354_P100-1998", K::SingleByte, kQuestion, u"ANSI/OEM - ベトナム語"},
    {10000, "macos-0_2-10.2", K::SingleByte, kQuestion, u"MAC - ローマ字"},
    {10006, "macos-6_2-10.4", K::SingleByte, kQuestion, u"MAC - ギリシャ語 I"},
    {10007, "macos-7_3-10.2", K::SingleByte, kQuestion, u"MAC - キリル"},
    {10029, "macos-29-10.2", K::SingleByte, kQuestion, u"MAC - ラテン II"},
    {10081, "macos-35-10.2", K::SingleByte, kQuestion, u"MAC - トルコ語"},
    {20127, "US-ASCII", K::SingleByte, kQuestion, u"US-ASCII"},
    {20866, "ibm-878_P100-1996", K::SingleByte, kQuestion, u"ロシア語 - KOI8"},
    {20932, "euc-jp-2007", K::DoubleByte, kMiddleDot,
     u"JIS X 0208-1990 & 0212-1990", &kEucJis},
    {21866, "ibm-1168_P100-2002", K::SingleByte, kQuestion, u"ウクライナ語 - KOI8-U"},
    {28591, "ISO-8859-1", K::SingleByte, kQuestion, u"ISO 8859-1 ラテン I"},
    {28592, "ibm-912_P100-1995", K::SingleByte, kQuestion, u"ISO 8859-2 中央ヨーロッパ"},
    {28593, "ibm-913_P100-2000", K::SingleByte, kQuestion, u"ISO 8859-3 ラテン 3"},
    {28594, "ibm-914_P100-1995", K::SingleByte, kQuestion, u"ISO 8859-4 バルト"},
    {28595, "ibm-915_P100-1995", K::SingleByte, kQuestion, u"ISO 8859-5 キリル"},
    {28596, "ibm-1089_P100-1995", K::SingleByte, kQuestion, u"ISO 8859-6 アラビア語"},
    {28597, "ibm-9005_X110-2007", K::SingleByte, kQuestion, u"ISO 8859-7 ギリシャ語"},
    {28598, "ibm-5012_P100-1999", K::SingleByte, kQuestion,
     u"ISO 8859-8 ヘブライ語: ビジュアル順"},
    {28599, "ibm-920_P100-1995", K::SingleByte, kQuestion, u"ISO 8859-9 ラテン 5"},
    {28603, "ibm-921_P100-1995", K::SingleByte, kQuestion, u"ISO 8859-13 ラテン 7"},
    {28605, "ibm-923_P100-1998", K::SingleByte, kQuestion, u"ISO 8859-15 ラテン 9"},
    {38598, "ibm-5012_P100-1999", K::SingleByte, kQuestion,
     u"ISO 8859-8 ヘブライ語: 論理順"},
    {50220, "ISO_2022,locale=ja,version=0", K::Stateful, kMiddleDot,
     u"ISO-2022 日本語 (半角カタカナなし)"},
    {50225, "ISO_2022,locale=ko,version=0", K::Stateful, kReplacement, u"ISO-2022 韓国語"},
    {51932, "euc-jp-2007", K::DoubleByte, kMiddleDot, u"EUC - 日本語"},
    {51949, "ibm-970_P110_P110-2006_U2", K::DoubleByte, kMiddleDot, u"EUC - 韓国語"},
    {52936, "HZ", K::Stateful, kReplacement, u"HZ-GB2312 簡体字中国語"},
    {54936, "gb18030", K::Gb18030, kReplacement, u"GB18030 簡体字中国語 (4 バイト)"},
    {65000, "UTF-7", K::Utf7, kReplacement, u"UTF-7"},
    {65001, "UTF-8", K::Utf8, kReplacement, u"UTF-8"},
};

constexpr bool ascending()
{
    for (std::size_t i = 1; i < std::size(kPages); ++i)
        if (kPages[i - 1].codePage >= kPages[i].codePage)
            return false;
    return true;
}
static_assert(ascending(), "the code-page table must stay sorted for findPage");

} // namespace

std::span<const PageEntry> pageTable()
{
    return kPages;
}

const PageEntry* findPage(CodePage cp)
{
    auto it = std::lower_bound(std::begin(kPages), std::end(kPages), cp,
                               [](const PageEntry& e, CodePage c) { return e.codePage < c; });
    return it != std::end(kPages) && it->codePage == cp ? &*it : nullptr;
}

} // namespace platform::nls::detail
