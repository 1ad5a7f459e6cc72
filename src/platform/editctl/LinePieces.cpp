#include "platform/editctl/LinePieces.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace platform::pieces {

namespace {


// Controls and separators are drawn as boxes of their own (see ControlSymbols.h).
bool isBox(char16_t c)
{
    return (c < 0x20 && c != u'\t') || c == 0x7F || c == 0x2028 || c == 0x2029;
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == 0x3000;
}

// Kana, ideographs, Hangul syllables and full-width forms: each one a cell of its own that
// never joins its neighbours.
bool isCjk(char16_t c)
{
    return (c >= 0x3040 && c <= 0x30FF && c != 0x3099 && c != 0x309A) || (c >= 0x3400 && c <= 0x4DBF)
           || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xAC00 && c <= 0xD7A3)
           || (c >= 0xFF01 && c <= 0xFF60) || (c >= 0x3001 && c <= 0x3002) || (c >= 0x3005 && c <= 0x3011)
           || (c >= 0x3014 && c <= 0x301F) || c == 0x3013;
}

// The code point that ends before `at` and the one that starts there.
char32_t pointBefore(std::u16string_view text, size_t at)
{
    UChar32 c;
    U16_PREV(text.data(), 0, at, c);
    return static_cast<char32_t>(c);
}

char32_t pointAt(std::u16string_view text, size_t at)
{
    UChar32 c;
    U16_NEXT(text.data(), at, text.size(), c);
    return static_cast<char32_t>(c);
}

// Units that must not begin a row (closing brackets, small kana, marks) and that must not
// end one (opening brackets): the usual Japanese line-breaking rules.
bool isNoBreakBefore(char16_t c)
{
    switch (c) {
    case u'、': case u'。': case u'，': case u'．': case u'」': case u'』': case u'）': case u'】':
    case u'〉': case u'》': case u'〕': case u'］': case u'｝': case u'ー': case u'・': case u'々':
    case u'ぁ': case u'ぃ': case u'ぅ': case u'ぇ': case u'ぉ': case u'っ': case u'ゃ': case u'ゅ':
    case u'ょ': case u'ゎ': case u'ァ': case u'ィ': case u'ゥ': case u'ェ': case u'ォ': case u'ッ':
    case u'ャ': case u'ュ': case u'ョ': case u'ヮ': case u'ヵ': case u'ヶ': case u'！': case u'？':
    case u'：': case u'；': case u'ゝ': case u'ゞ': case u'ヽ': case u'ヾ': case u'〟':
    case u')': case u']': case u'}': case u',': case u'.': case u'!': case u'?': case u':': case u';':
        return true;
    default:
        return false;
    }
}

bool isNoBreakAfter(char16_t c)
{
    switch (c) {
    case u'「': case u'『': case u'（': case u'【': case u'〈': case u'《': case u'〔': case u'［':
    case u'｛': case u'〝': case u'(': case u'[': case u'{':
        return true;
    default:
        return false;
    }
}

} // namespace

bool isSafeCut(std::u16string_view text, size_t at)
{
    if (at == 0 || at >= text.size())
        return true;
    const char16_t before = text[at - 1];
    const char16_t after = text[at];
    if (U16_IS_LEAD(before) && U16_IS_TRAIL(after))
        return false;
    if (before == u'\r' && after == u'\n')
        return false;
    // Most text settles here without a property lookup: ASCII and CJK never join.
    const bool plainBefore = (before >= 0x20 && before < 0x7F) || isCjk(before) || isBox(before) || before == u'\t';
    const bool plainAfter = (after >= 0x20 && after < 0x7F) || isCjk(after) || isBox(after) || after == u'\t';
    if (plainBefore && plainAfter)
        return true;
    // Grapheme clusters: nothing that extends the cluster before it, nothing after a joiner
    // or a prepended mark, no Hangul jamo sequence.
    const auto breakOf = [](char32_t c) {
        return static_cast<UGraphemeClusterBreak>(u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GRAPHEME_CLUSTER_BREAK));
    };
    const UGraphemeClusterBreak next = breakOf(pointAt(text, at));
    if (next == U_GCB_EXTEND || next == U_GCB_SPACING_MARK || next == U_GCB_ZWJ)
        return false;
    const UGraphemeClusterBreak prev = breakOf(pointBefore(text, at));
    if (prev == U_GCB_PREPEND || prev == U_GCB_ZWJ)
        return false;
    if (prev == U_GCB_REGIONAL_INDICATOR && next == U_GCB_REGIONAL_INDICATOR)
        return false;
    // Hangul syllables spelled in jamo.
    if (prev == U_GCB_L && (next == U_GCB_L || next == U_GCB_V || next == U_GCB_LV || next == U_GCB_LVT))
        return false;
    if ((prev == U_GCB_LV || prev == U_GCB_V) && (next == U_GCB_V || next == U_GCB_T))
        return false;
    return !((prev == U_GCB_LVT || prev == U_GCB_T) && next == U_GCB_T);
}

bool isPreferredCut(std::u16string_view text, size_t at)
{
    if (at == 0 || at >= text.size())
        return true;
    const char16_t before = text[at - 1];
    const char16_t after = text[at];
    if (isSpace(before) || isBox(before) || isBox(after))
        return isSafeCut(text, at);
    return isCjk(before) && isCjk(after);
}

void splitIntoPieces(std::u16string_view text, size_t from, size_t to, std::vector<int>& starts)
{
    size_t start = from;
    while (true) {
        starts.push_back(static_cast<int>(start));
        if (to - start <= static_cast<size_t>(kPieceMax))
            return;
        // The last preferred cut in [start + min, start + max], else the last safe one,
        // else a forced cut that still keeps surrogate pairs whole.
        const size_t low = start + kPieceMin;
        const size_t high = start + kPieceMax;
        size_t cut = 0;
        size_t safe = 0;
        for (size_t at = high; at >= low; --at) {
            if (isPreferredCut(text, at)) {
                cut = at;
                break;
            }
            if (safe == 0 && isSafeCut(text, at))
                safe = at;
        }
        if (cut == 0)
            cut = safe;
        if (cut == 0) {
            cut = high;
            if (U16_IS_LEAD(text[cut - 1]) && U16_IS_TRAIL(text[cut]))
                --cut;
        }
        start = cut;
    }
}

bool canBreakBefore(std::u16string_view text, size_t at)
{
    if (at == 0 || at >= text.size())
        return true;
    const char16_t before = text[at - 1];
    const char16_t after = text[at];
    if (!isSafeCut(text, at))
        return false;
    if (after == u' ' || after == 0x3000)
        return false;   // spaces hang at the end of the row; a tab may begin one
    if (isSpace(before) || isBox(before) || isBox(after))
        return true;
    if (isNoBreakBefore(after) || isNoBreakAfter(before))
        return false;
    return isCjk(before) || isCjk(after);
}

} // namespace platform::pieces
