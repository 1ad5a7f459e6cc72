#include "platform/editctl/RowsFromWidths.h"

#include "platform/Utf16.h"
#include "platform/editctl/GlyphInk.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Full-width units that never combine, reorder or change shape: CJK punctuation, kana,
// ideographs and full-width forms. (Hangul is left out: the shaper tailors its breaks.)
bool isFullWidth(char16_t c)
{
    return (c >= 0x3001 && c <= 0x3029) || (c >= 0x3030 && c <= 0x303F) || (c >= 0x3041 && c <= 0x3096)
           || (c >= 0x309B && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF)
           || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

// Half-width katakana and punctuation; the two half-width sound marks join the kana before.
bool isHalfWidthKana(char16_t c)
{
    return c >= 0xFF61 && c <= 0xFF9D;
}

// White space the shaper lets hang at the end of a row (a tab is handled on its own).
bool isHangingSpace(char16_t c)
{
    return c == u' ' || c == 0x3000;
}

// The stop a tab at x reaches in a row: the shaper counts x in 1/64 of a stop, rounded, so
// x less than 1/128 of a stop short of one already counts as there.
qreal nextTabStop(qreal x, qreal tab)
{
    const long long units = std::llround(std::max<qreal>(0, x) * 64);
    const long long stop = std::max<long long>(1, std::llround(tab * 64));
    const long long inSixtyFourths = (units * 64 + stop / 2) / stop;
    return static_cast<qreal>((inSixtyFourths >> 6) + 1) * tab;
}

// Units whose pairs are shaped once per font to find those that join or change shape: all
// of printable ASCII, and apart from it (units of other scripts are shaped apart anyway)
// the CJK units that stand next to anything, with a few ordinary ones.
std::u16string asciiSymbols()
{
    std::u16string symbols;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        symbols += c;
    return symbols;
}

const char16_t* const kCjkSymbols =
    u"、。，．・ー「」『』（）【】〈〉《》〔〕［］｛｝！？：；〜ぁぃぅぇぉっゃゅょァィゥェォッャュョ々あア漢ｱ　";

// Every ordered pair of symbols once (a de Bruijn sequence of order two).
std::u16string everyPair(const std::u16string& symbols)
{
    const size_t k = symbols.size();
    std::u16string out;
    out.reserve(k * k + 1);
    // The usual construction: the Lyndon words of length one and two in order.
    std::vector<size_t> a(3, 0);
    const auto db = [&](auto&& self, size_t t, size_t p) -> void {
        if (t > 2) {
            if (2 % p == 0) {
                for (size_t j = 1; j <= p; ++j)
                    out += symbols[a[j]];
            }
            return;
        }
        a[t] = a[t - p];
        self(self, t + 1, p);
        for (size_t j = a[t - p] + 1; j < k; ++j) {
            a[t] = j;
            self(self, t + 1, t);
        }
    };
    db(db, 1, 1);
    out += out.front();   // the pair that wraps around
    return out;
}

// The script of the run each unit is shaped in, as the shaper itemizes a line: a unit of
// common script (digits, punctuation, spaces) joins the run before it, or the one after it
// at the start of the line. The font a common unit is drawn from depends on that run.
void runScripts(std::u16string_view text, std::vector<unsigned char>& scripts)
{
    scripts.assign(text.size(), QChar::Script_Common);
    size_t runStart = 0;
    QChar::Script script = QChar::Script_Common;
    for (size_t i = 0; i < text.size(); ++i) {
        const QChar::Script next = QChar::script(text[i]);
        if (next == script || next <= QChar::Script_Common)
            continue;
        if (script > QChar::Script_Common) {
            std::fill(scripts.begin() + static_cast<std::ptrdiff_t>(runStart),
                      scripts.begin() + static_cast<std::ptrdiff_t>(i), static_cast<unsigned char>(script));
            runStart = i;
        }
        script = next;
    }
    std::fill(scripts.begin() + static_cast<std::ptrdiff_t>(runStart), scripts.end(), static_cast<unsigned char>(script));
}

// A unit of each script a line of the units taken here can be itemized in.
char16_t anchorOf(QChar::Script script)
{
    switch (script) {
    case QChar::Script_Latin: return u'a';
    case QChar::Script_Hiragana: return u'あ';
    case QChar::Script_Katakana: return u'ア';
    case QChar::Script_Han: return u'漢';
    default: return 0;
    }
}

} // namespace

RowsFromWidths::RowsFromWidths(const QFont& font, qreal tabDistance)
    : m_font(font)
    , m_tabDistance(tabDistance > 0 ? tabDistance : 80)
{
}

const RowsFromWidths::Unit& RowsFromWidths::unit(char16_t c)
{
    if (m_units.empty())
        m_units.assign(0x10000, Unit{});
    Unit& u = m_units[c];
    if (u.advance != kUnknown)
        return u;
    u.advance = kShaped;
    const QFontMetricsF metrics(m_font);
    const bool ascii = c >= 0x20 && c < 0x7F;
    if (ascii && !metrics.inFont(QChar(c)))
        return u;   // drawn from a font chosen by the script around it
    if (!ascii && c != 0x3000 && !isFullWidth(c) && !isHalfWidthKana(c))
        return u;
    const qreal advance = metrics.horizontalAdvance(QChar(c));
    // A proportional CJK font may kern its kana; only cells of one width are taken.
    if (isFullWidth(c) && advance != metrics.horizontalAdvance(QChar(0x6C34)))
        return u;
    if (isHalfWidthKana(c) && advance != metrics.horizontalAdvance(QChar(0xFF71)))
        return u;
    u.advance = static_cast<float>(advance);
    if (!m_ink)
        m_ink = std::make_unique<GlyphInk>(m_font);
    u.overhang = static_cast<float>(m_ink->of(c));
    return u;
}

// The advance of c shaped in a run of `script`: its own for a unit of a script, else
// measured once in a run of that script.
qreal RowsFromWidths::advanceIn(char16_t c, unsigned char script, qreal* overhang)
{
    const Unit& u = unit(c);
    *overhang = u.overhang;
    if (u.advance < 0 || QChar::script(c) > QChar::Script_Common || script <= QChar::Script_Common)
        return u.advance;
    const char16_t anchor = anchorOf(static_cast<QChar::Script>(script));
    if (anchor == 0)
        return kShaped;
    const std::uint32_t key = (std::uint32_t(script) << 16) | c;
    auto found = m_commonAdvances.find(key);
    if (found == m_commonAdvances.end()) {
        const char16_t pair[2] = {anchor, c};
        QTextLayout layout(toQString({pair, 2}), m_font);
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(8.0e6);
        layout.endLayout();
        Measured measured{static_cast<float>(line.cursorToX(2) - line.cursorToX(1)), 0};
        // The ink of c's glyph past its advance in the font the run draws it from: a face
        // slanted by the font engine (an italic the fallback font lacks) reaches well past
        // it, and the shaper adds that when it checks a row's width.
        measured.overhang = static_cast<float>(lastGlyphInk(line));
        found = m_commonAdvances.emplace(key, measured).first;
    }
    *overhang = std::max<qreal>(u.overhang, found->second.overhang);
    return found->second.advance;
}

// Shapes every pair of the probe symbols and takes out of the count the units whose advance
// there differs from the one they are counted with: ligatures, contextual forms, kerning
// that is not switched off.
void RowsFromWidths::findJoiningPairs()
{
    m_pairsChecked = true;
    for (const std::u16string& text : {everyPair(asciiSymbols()), everyPair(kCjkSymbols)})
        checkPairs(text);
}

void RowsFromWidths::checkPairs(const std::u16string& text)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    // In short layouts that overlap by one unit, so that every pair is shaped once and no
    // position is looked up far into a layout.
    constexpr size_t kChunk = 128;
    for (size_t from = 0; from + 1 < text.size(); from += kChunk - 1) {
        const size_t length = std::min(kChunk, text.size() - from);
        QTextLayout layout(toQString(std::u16string_view(text).substr(from, length)), m_font);
        layout.setTextOption(option);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(8.0e6);
        layout.endLayout();
        runScripts(std::u16string_view(text).substr(from, length), m_scripts);
        qreal x = line.cursorToX(0);
        for (size_t i = 0; i + 1 < length; ++i) {
            const qreal next = line.cursorToX(static_cast<int>(i + 1));
            const char16_t c = text[from + i];
            qreal overhang = 0;
            const qreal advance = advanceIn(c, m_scripts[i], &overhang);
            // A kerning pair changes the advance of its first unit, a ligature those of
            // both: a line with either pair holds a unit taken out here.
            if (advance >= 0 && std::abs((next - x) - advance) > 1.0 / 256)
                m_units[c].advance = kShaped;
            x = next;
        }
    }
}

bool RowsFromWidths::rowBreaks(std::u16string_view text, int wrapWidth, std::vector<int>& breaks)
{
    breaks.clear();
    if (m_distrusted)
        return false;
    if (!m_pairsChecked)
        findJoiningPairs();
    const int length = static_cast<int>(text.size());
    runScripts(text, m_scripts);
    m_advances.resize(text.size());
    m_overhangs.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\t')
            continue;
        qreal overhang = 0;
        const qreal advance = advanceIn(text[i], m_scripts[i], &overhang);
        if (advance < 0)
            return false;
        m_advances[i] = advance;
        m_overhangs[i] = overhang;
    }
    m_lineBreak.assign(static_cast<size_t>(length) + 1, 0);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, reinterpret_cast<const QChar*>(text.data()), length);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        m_lineBreak[static_cast<size_t>(at)] = 1;

    for (int start = 0; start < length;) {
        int end = rowEnd(text, start, wrapWidth, false);
        if (end == 0)
            end = rowEnd(text, start, wrapWidth, true);
        if (end <= start)
            return false;
        if (end >= length)
            break;
        breaks.push_back(end);
        start = end;
    }
    return true;
}

// Follows the shaper's rule: the row takes word after word (a word: the units up to the next
// line-break opportunity or white space) while the row with the word and the white space
// before it stays within the width; white space after the last word hangs; a tab is taken
// like white space, but only while the row with it fits; the first word always stays, and
// when it alone is wider than the row, the row is cut again at any unit instead.
int RowsFromWidths::rowEnd(std::u16string_view text, int start, int wrapWidth, bool wrapAnywhere)
{
    const int length = static_cast<int>(text.size());
    const qreal width = wrapWidth;
    qreal rowWidth = 0;
    int rowLength = 0;
    qreal wordWidth = 0;
    int wordLength = 0;
    qreal spaceWidth = 0;
    int spaceLength = 0;
    qreal overhang = 0;
    qreal rowOverhang = 0;
    bool uncertain = false;

    // Takes the pending white space and word into the row unless they overflow it.
    const auto full = [&] {
        const qreal wide = rowWidth + wordWidth + spaceWidth;
        if (rowLength > 0) {
            const bool over = wide > width;
            if (over != (wide + overhang > width))
                uncertain = true;
            if (over)
                return true;
        }
        rowWidth = wide;
        if (wordLength > 0)
            rowOverhang = overhang;
        rowLength += wordLength + spaceLength;
        wordWidth = spaceWidth = 0;
        wordLength = spaceLength = 0;
        overhang = 0;
        return false;
    };

    int pos = start;
    bool ended = false;
    while (pos < length && !ended && !uncertain) {
        const char16_t c = text[static_cast<size_t>(pos)];
        if (c == u'\t') {
            if (full())
                break;
            const qreal x = rowWidth;
            spaceWidth += nextTabStop(x, m_tabDistance) - x;
            ++spaceLength;
            ++pos;
            ended = full();
        } else if (isHangingSpace(c)) {
            while (pos < length && isHangingSpace(text[static_cast<size_t>(pos)])) {
                spaceWidth += m_advances[static_cast<size_t>(pos)];
                ++spaceLength;
                ++pos;
            }
            if (spaceWidth > width)
                ended = true;
        } else {
            while (true) {
                wordWidth += m_advances[static_cast<size_t>(pos)];
                overhang = m_overhangs[static_cast<size_t>(pos)];
                ++wordLength;
                ++pos;
                if (pos >= length || isHangingSpace(text[static_cast<size_t>(pos)]) || text[static_cast<size_t>(pos)] == u'\t'
                    || m_lineBreak[static_cast<size_t>(pos)] || wrapAnywhere)
                    break;
            }
            ended = full();
        }
    }
    if (!ended && !uncertain && pos >= length)
        ended = full();
    if (uncertain)
        return -1;
    if (!wrapAnywhere) {
        // The first word alone may be wider than the row.
        if (rowWidth > width)
            return 0;
        if (rowWidth + rowOverhang > width)
            return -1;
    }
    return start + rowLength + spaceLength;
}

} // namespace platform
