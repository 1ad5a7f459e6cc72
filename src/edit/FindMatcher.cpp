#include "edit/FindMatcher.h"

#include "platform/editctl/TextBuffer.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/unorm2.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace edit {

namespace {

// Keys of the first-primary tables: 0 not yet known, kAnyStart when a candidate starting
// with the unit may match whatever the search string is, else primary order + 2.
constexpr std::uint32_t kUnknown = 0;
constexpr std::uint32_t kAnyStart = 1;
constexpr std::uint32_t primaryKey(std::uint32_t primaryOrder) { return primaryOrder + 2; }

std::u16string foldCase(std::u16string_view text)
{
    std::u16string folded(text.size() + 8, u'\0');
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = u_strFoldCase(reinterpret_cast<UChar*>(folded.data()),
                                        static_cast<int32_t>(folded.size()),
                                        reinterpret_cast<const UChar*>(text.data()),
                                        static_cast<int32_t>(text.size()), U_FOLD_CASE_DEFAULT, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            folded.assign(static_cast<size_t>(n), u'\0');
            continue;
        }
        folded.resize(U_SUCCESS(status) ? static_cast<size_t>(n) : 0);
        return folded;
    }
}

} // namespace

// One locale's collators and what the prefilter has learnt about single units. Lives for
// the rest of the run once made; user-interface thread only.
class CollationEquality {
public:
    explicit CollationEquality(const std::string& locale)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_locale = ucol_open(locale.c_str(), &status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            m_locale = ucol_open("", &status);
        }
        status = U_ZERO_ERROR;
        m_root = ucol_open("", &status);
        ucol_setStrength(m_locale, UCOL_TERTIARY);
        ucol_setStrength(m_root, UCOL_TERTIARY);
        // The root order only adds the differences the tailoring dropped; canonical
        // reordering is the locale's choice.
        status = U_ZERO_ERROR;
        ucol_setAttribute(m_root, UCOL_NORMALIZATION_MODE,
                          ucol_getAttribute(m_locale, UCOL_NORMALIZATION_MODE, &status), &status);

        status = U_ZERO_ERROR;
        // With variable characters shifted to the fourth level their primaries vanish at
        // tertiary strength; first primaries then say nothing, so no prefilter.
        m_prefilterUsable = ucol_getAttribute(m_locale, UCOL_ALTERNATE_HANDLING, &status) != UCOL_SHIFTED;

        // Every code point that begins a contraction: a candidate starting with one may
        // take its first weight from more than its first character.
        m_contractionStarts = uset_openEmpty();
        USet* contractions = uset_openEmpty();
        status = U_ZERO_ERROR;
        ucol_getContractionsAndExpansions(m_locale, contractions, nullptr, false, &status);
        const int32_t items = uset_getItemCount(contractions);
        for (int32_t i = 0; i < items; ++i) {
            UChar32 first = 0, last = 0;
            UChar text[64];
            UErrorCode itemStatus = U_ZERO_ERROR;
            const int32_t n = uset_getItem(contractions, i, &first, &last, text, 64, &itemStatus);
            if (n > 0 && U_SUCCESS(itemStatus)) {
                int32_t k = 0;
                UChar32 cp = 0;
                U16_NEXT(text, k, n, cp);
                uset_add(m_contractionStarts, cp);
            } else if (n == 0) {
                uset_addRange(m_contractionStarts, first, last);
            } else {
                m_prefilterUsable = false;  // a contraction too long to read: stay safe
            }
        }
        uset_close(contractions);

        status = U_ZERO_ERROR;
        m_nfd = unorm2_getNFDInstance(&status);
        status = U_ZERO_ERROR;
        m_elements = ucol_openElements(m_locale, nullptr, 0, &status);
        for (auto& table : m_firstPrimary) {
            table.assign(0x10000, kUnknown);
            // Surrogates: the code point they belong to depends on the next unit.
            std::fill(table.begin() + 0xD800, table.begin() + 0xE000, kAnyStart);
        }
    }

    ~CollationEquality()
    {
        ucol_closeElements(m_elements);
        uset_close(m_contractionStarts);
        ucol_close(m_root);
        ucol_close(m_locale);
    }

    static CollationEquality& forLocale(const std::string& locale)
    {
        static std::map<std::string, std::unique_ptr<CollationEquality>> cache;
        auto& slot = cache[locale];
        if (!slot)
            slot = std::make_unique<CollationEquality>(locale);
        return *slot;
    }

    bool equal(std::u16string_view a, std::u16string_view b) const
    {
        return equalIn(m_locale, a, b) && equalIn(m_root, a, b);
    }

    bool prefilterUsable() const { return m_prefilterUsable; }

    // Key of the first non-zero primary weight of text, 0 when it has none.
    std::uint32_t firstPrimaryKey(std::u16string_view text)
    {
        UErrorCode status = U_ZERO_ERROR;
        ucol_setText(m_elements, reinterpret_cast<const UChar*>(text.data()),
                     static_cast<int32_t>(text.size()), &status);
        if (U_FAILURE(status))
            return 0;
        for (;;) {
            const int32_t element = ucol_next(m_elements, &status);
            if (element == UCOL_NULLORDER || U_FAILURE(status))
                return 0;
            // The first element with a primary weight holds its upper half; continuation
            // elements come only after such a first half.
            const std::uint32_t primary = ucol_primaryOrder(element);
            if (primary != 0)
                return primaryKey(primary);
        }
    }

    // What a candidate that starts with unit u can have as its first primary (after case
    // folding when folded): kAnyStart, or the key of the one possible primary.
    std::uint32_t unitKey(char16_t u, bool folded)
    {
        std::uint32_t& slot = m_firstPrimary[folded ? 1 : 0][u];
        if (slot == kUnknown)
            slot = computeUnitKey(u, folded);
        return slot;
    }

private:
    static bool equalIn(const UCollator* collator, std::u16string_view a, std::u16string_view b)
    {
        return ucol_strcoll(collator, reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                            reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()))
            == UCOL_EQUAL;
    }

    // Folding works code point by code point, so a folded candidate starts with the folding
    // of its first character, and the collator takes the first weights of a string from its
    // first character unless that character begins a contraction or is reordered by
    // canonical ordering (a non-zero leading combining class). When the first character
    // has no primary weight at all, the first primary comes from later characters.
    std::uint32_t computeUnitKey(char16_t u, bool folded)
    {
        const std::u16string start = folded ? foldCase(std::u16string_view(&u, 1)) : std::u16string(1, u);
        if (start.empty())
            return kAnyStart;
        int32_t k = 0;
        UChar32 first = 0;
        U16_NEXT(start.data(), k, static_cast<int32_t>(start.size()), first);
        if (uset_contains(m_contractionStarts, first)
            || u_getIntPropertyValue(first, UCHAR_LEAD_CANONICAL_COMBINING_CLASS) != 0)
            return kAnyStart;
        UChar decomposition[8];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = unorm2_getDecomposition(m_nfd, first, decomposition, 8, &status);
        if (n > 0) {
            int32_t j = 0;
            UChar32 base = 0;
            U16_NEXT(decomposition, j, n, base);
            if (uset_contains(m_contractionStarts, base))
                return kAnyStart;
        } else if (status == U_BUFFER_OVERFLOW_ERROR) {
            return kAnyStart;
        }
        const std::uint32_t key = firstPrimaryKey(std::u16string_view(start.data(), static_cast<size_t>(k)));
        return key == 0 ? kAnyStart : key;
    }

    UCollator* m_locale = nullptr;
    UCollator* m_root = nullptr;
    UCollationElements* m_elements = nullptr;
    USet* m_contractionStarts = nullptr;
    const UNormalizer2* m_nfd = nullptr;
    bool m_prefilterUsable = true;
    std::vector<std::uint32_t> m_firstPrimary[2];  // by unit: [0] as typed, [1] case-folded
};

FindMatcher::FindMatcher(std::u16string_view find, bool bCase, const std::string& locale)
    : m_find(find)
    , m_bCase(bCase)
    , m_equality(&CollationEquality::forLocale(locale))
    , m_firstPrimary(0)
{
    if (!m_bCase)
        m_folded = foldCase(m_find);
    if (m_equality->prefilterUsable())
        m_firstPrimary = m_equality->firstPrimaryKey(m_bCase ? m_find : m_folded);
}

bool FindMatcher::equals(std::u16string_view candidate) const
{
    if (candidate == std::u16string_view(m_find))
        return true;
    if (m_bCase)
        return m_equality->equal(candidate, m_find);
    const std::u16string folded = foldCase(candidate);
    return folded == m_folded || m_equality->equal(folded, m_folded);
}

bool FindMatcher::mayStartWith(char16_t u) const
{
    if (m_firstPrimary == 0)
        return true;
    const std::uint32_t key = m_equality->unitKey(u, !m_bCase);
    return key == kAnyStart || key == m_firstPrimary;
}

namespace {

// Candidates are read from the buffer in windows that start small (a search after a
// replacement usually ends a few units further) and grow to bound the copying.
constexpr int kFirstWindow = 256;
constexpr int kLargestWindow = 1 << 16;

bool matchesAt(const FindMatcher& matcher, const std::u16string& window, int i)
{
    return matcher.mayStartWith(window[static_cast<size_t>(i)])
        && matcher.equals(std::u16string_view(window).substr(static_cast<size_t>(i),
                                                             static_cast<size_t>(matcher.length())));
}

int scanDown(const platform::TextBuffer& text, const FindMatcher& matcher, int from, int last)
{
    const int flen = matcher.length();
    int window = kFirstWindow;
    for (int p0 = from; p0 <= last; p0 += window, window = std::min(window * 2, kLargestWindow)) {
        const int count = std::min(window, last - p0 + 1);
        const std::u16string units = text.textRange(p0, count + flen - 1);
        for (int i = 0; i < count; ++i)
            if (matchesAt(matcher, units, i))
                return p0 + i;
    }
    return -1;
}

int scanUp(const platform::TextBuffer& text, const FindMatcher& matcher, int from)
{
    const int flen = matcher.length();
    int window = kFirstWindow;
    for (int p1 = from; p1 >= 0; p1 -= window, window = std::min(window * 2, kLargestWindow)) {
        const int p0 = std::max(0, p1 - window + 1);
        const std::u16string units = text.textRange(p0, p1 - p0 + flen);
        for (int i = p1 - p0; i >= 0; --i)
            if (matchesAt(matcher, units, i))
                return p0 + i;
    }
    return -1;
}

} // namespace

bool SelectionMatches(const platform::TextBuffer& text, const FindMatcher& matcher, int selStart, int selEnd)
{
    return selEnd - selStart == matcher.length() && matcher.length() > 0
        && matcher.equals(text.textRange(selStart, selEnd - selStart));
}

int FindInBuffer(const platform::TextBuffer& text, const FindMatcher& matcher, int selStart, int selEnd,
                 bool bNext)
{
    const int len = text.length();
    const int flen = matcher.length();
    if (flen == 0 || (!bNext && selStart == 0))
        return -1;
    int n = selStart - 1;
    if (bNext) {
        n = selStart;
        if (selStart != selEnd && SelectionMatches(text, matcher, selStart, selEnd))
            n = selStart + 1;
    }
    if (n + flen - 1 >= len) {
        if (bNext || len < flen)
            return -1;
        n = len - flen;
    }
    return bNext ? scanDown(text, matcher, n, len - flen) : scanUp(text, matcher, n);
}

} // namespace edit
