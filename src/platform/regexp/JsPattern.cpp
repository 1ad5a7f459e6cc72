#include "platform/regexp/JsPattern_p.h"

#include "platform/regexp/JsCase.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <span>
#include <limits>
#include <optional>

namespace platform::regexp {

namespace {

constexpr int kUnbounded = -1;
// The largest repeat count PCRE2 accepts.
constexpr long long kMaxRepeat = 65535;
// Nesting of groups and classes beyond this is refused instead of exhausting the stack.
constexpr int kMaxDepth = 500;

// ---- sets of units ------------------------------------------------------------------------

struct Range {
    char16_t lo;
    char16_t hi;
};

class UnitSet {
public:
    void add(char16_t lo, char16_t hi) { m_ranges.push_back({lo, hi}); m_normal = false; }
    void add(char16_t u) { add(u, u); }
    void add(const UnitSet& other)
    {
        m_ranges.insert(m_ranges.end(), other.m_ranges.begin(), other.m_ranges.end());
        m_normal = false;
    }
    const std::vector<Range>& ranges()
    {
        normalize();
        return m_ranges;
    }
    bool contains(char16_t u)
    {
        normalize();
        auto it = std::upper_bound(m_ranges.begin(), m_ranges.end(), u,
                                   [](char16_t v, const Range& r) { return v < r.lo; });
        return it != m_ranges.begin() && std::prev(it)->hi >= u;
    }
    UnitSet complement()
    {
        normalize();
        UnitSet out;
        std::uint32_t next = 0;
        for (const Range& r : m_ranges) {
            if (r.lo > next)
                out.add(char16_t(next), char16_t(r.lo - 1));
            next = std::uint32_t(r.hi) + 1;
        }
        if (next <= 0xFFFF)
            out.add(char16_t(next), 0xFFFF);
        return out;
    }
    // Adds the canonical form of every member, for a canonicalized subject. Only units
    // with case take part: a large set (a negated class, the dot) is handled through the
    // few units it lacks.
    void addCanonicalForms()
    {
        normalize();
        const std::span<const char16_t> cased = jsCasedUnits();
        std::size_t size = 0;
        for (const Range& r : m_ranges)
            size += std::size_t(r.hi - r.lo) + 1;
        std::vector<char16_t> extra;
        if (size <= 0x8000) {
            for (const Range& r : m_ranges) {
                for (auto it = std::lower_bound(cased.begin(), cased.end(), r.lo);
                     it != cased.end() && *it <= r.hi; ++it) {
                    if (jsCanonicalize(*it) != *it)
                        extra.push_back(jsCanonicalize(*it));
                }
            }
        } else {
            // A unit the set lacks joins when a member has it as its canonical form.
            for (const Range& r : complement().m_ranges) {
                for (auto it = std::lower_bound(cased.begin(), cased.end(), r.lo);
                     it != cased.end() && *it <= r.hi; ++it) {
                    for (char16_t from : jsUnitsCanonicalizingTo(*it)) {
                        if (contains(from)) {
                            extra.push_back(*it);
                            break;
                        }
                    }
                }
            }
        }
        for (char16_t u : extra)
            add(u);
        normalize();
    }

private:
    void normalize()
    {
        if (m_normal)
            return;
        std::sort(m_ranges.begin(), m_ranges.end(),
                  [](const Range& a, const Range& b) { return a.lo < b.lo; });
        std::vector<Range> merged;
        for (const Range& r : m_ranges) {
            if (!merged.empty() && std::uint32_t(r.lo) <= std::uint32_t(merged.back().hi) + 1)
                merged.back().hi = std::max(merged.back().hi, r.hi);
            else
                merged.push_back(r);
        }
        m_ranges = std::move(merged);
        m_normal = true;
    }

    std::vector<Range> m_ranges;
    bool m_normal = true;
};

UnitSet digitSet()
{
    UnitSet s;
    s.add(u'0', u'9');
    return s;
}

UnitSet wordSet()
{
    UnitSet s;
    s.add(u'A', u'Z');
    s.add(u'a', u'z');
    s.add(u'0', u'9');
    s.add(u'_');
    return s;
}

// JavaScript's white space and line terminators.
UnitSet spaceSet()
{
    UnitSet s;
    s.add(0x09, 0x0D);
    s.add(0x20);
    s.add(0xA0);
    s.add(0x1680);
    s.add(0x2000, 0x200A);
    s.add(0x2028, 0x2029);
    s.add(0x202F);
    s.add(0x205F);
    s.add(0x3000);
    s.add(0xFEFF);
    return s;
}

void appendUnit(std::u16string& out, char16_t u)
{
    static const char16_t hex[] = u"0123456789abcdef";
    if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')) {
        out += u;
        return;
    }
    out += u"\\x{";
    out += hex[(u >> 12) & 15];
    out += hex[(u >> 8) & 15];
    out += hex[(u >> 4) & 15];
    out += hex[u & 15];
    out += u'}';
}

std::u16string classText(UnitSet& set)
{
    const auto& ranges = set.ranges();
    if (ranges.empty())
        return u"(?!)";
    std::u16string out = u"[";
    for (const Range& r : ranges) {
        appendUnit(out, r.lo);
        if (r.hi != r.lo) {
            out += u'-';
            appendUnit(out, r.hi);
        }
    }
    out += u']';
    return out;
}

// ---- the parser ------------------------------------------------------------------------------

// What a piece of the translation matches, for quantifiers and lookbehinds.
struct Piece {
    std::u16string text;
    long long minLen = 0;
    long long maxLen = 0;   // kUnbounded when not bounded
    bool fixed = true;      // one length only, no back-reference
    bool hasCaptures = false;
    bool quantifiable = true;
    bool lookahead = false;
    bool eachAltFixed = true;  // for a disjunction: every alternative has one length
    int atomId = -1;           // for a group: its number among the groups of any kind
};

long long addLen(long long a, long long b)
{
    if (a == kUnbounded || b == kUnbounded)
        return kUnbounded;
    return std::min<long long>(a + b, std::numeric_limits<int>::max());
}

long long mulLen(long long a, long long n)
{
    if (a == kUnbounded || n == kUnbounded)
        return (a == 0) ? 0 : kUnbounded;
    return std::min<long long>(a * n, std::numeric_limits<int>::max());
}

struct Failure {
    PatternError error;
};

int hexValue(char16_t h)
{
    if (h >= u'0' && h <= u'9') return h - u'0';
    if (h >= u'a' && h <= u'f') return h - u'a' + 10;
    if (h >= u'A' && h <= u'F') return h - u'A' + 10;
    return -1;
}

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

class Parser {
public:
    Parser(std::u16string_view p, bool ignoreCase, bool multiline)
        : m_p(p), m_ignoreCase(ignoreCase), m_multiline(multiline)
    {
    }

    TranslatedPattern run()
    {
        prescan();
        m_result.groupParent.assign(std::size_t(m_totalGroups) + 1, -1);
        m_groupAncestors.assign(std::size_t(m_totalGroups) + 1, {});
        Piece whole = disjunction();
        if (!atEnd())  // only an unmatched ')' stops the top level early
            fail(int(m_i) + 1, u"「)」に対応する「(」がありません。");
        // Not a structured binding: clang before 16 cannot capture one in the lambda.
        for (const auto& ref : m_namedRefs) {
            const std::u16string& name = ref.first;
            if (std::none_of(m_result.names.begin(), m_result.names.end(),
                             [&](const auto& n) { return n.first == name; }))
                fail(ref.second, u"\\k<" + name + u"> の名前のグループがありません。");
        }
        m_result.pcre = resolveBackReferences(whole.text);
        m_result.groupCount = m_totalGroups;
        return std::move(m_result);
    }

    // Puts the back-references in the places their placeholders hold.
    std::u16string resolveBackReferences(const std::u16string& text)
    {
        std::u16string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != char16_t(1)) {
                out += text[i];
                continue;
            }
            std::size_t k = 0;
            for (++i; text[i] != char16_t(1); ++i)
                k = k * 10 + std::size_t(text[i] - u'0');
            const Ref& ref = m_refs[k];
            int group = ref.group;
            for (const auto& [n, g] : m_result.names)
                if (group == 0 && n == ref.name)
                    group = g;
            const std::u16string target = u"\\k<g" + number(group) + u">";
            // The repeated groups around the group, from the inside out: those that ended
            // before the reference, then the innermost one around the reference too.
            const std::vector<int>& around = m_groupAncestors[std::size_t(group)];
            TranslatedPattern::BackRefCheck check{group, {}, -1};
            for (auto a = around.rbegin(); a != around.rend(); ++a) {
                if (m_atomIteration[std::size_t(*a)] < 0)
                    continue;
                if (std::find(ref.ancestors.begin(), ref.ancestors.end(), *a) != ref.ancestors.end()) {
                    check.iteration = m_atomIteration[std::size_t(*a)];
                    break;
                }
                check.wrappers.push_back(m_atomWrapper[std::size_t(*a)]);
            }
            if (check.iteration < 0 && check.wrappers.empty()) {
                out += target;
                continue;
            }
            const std::u16string id = number((long long)m_result.backRefChecks.size());
            m_result.backRefChecks.push_back(std::move(check));
            out += u"(?:(?C\"f" + id + u"\")" + target + u"|(?C\"s" + id + u"\"))";
        }
        return out;
    }

private:
    struct Quant {
        long long min;
        long long max;  // kUnbounded
        bool lazy;
    };

    [[noreturn]] void fail(int position, std::u16string what)
    {
        std::u16string text;
        if (position > 0)
            text = number(position) + u" 文字目: ";
        throw Failure{{position, text + what}};
    }

    bool atEnd() const { return m_i >= m_p.size(); }
    char16_t peek(std::size_t ahead = 0) const
    {
        return m_i + ahead < m_p.size() ? m_p[m_i + ahead] : char16_t(0);
    }
    bool has(std::size_t ahead = 0) const { return m_i + ahead < m_p.size(); }
    bool lookingAt(std::u16string_view s) const { return m_p.substr(m_i).starts_with(s); }

    // Counts the capture groups and notes whether any has a name: decimal escapes and \k
    // are read by the totals of the whole pattern.
    void prescan()
    {
        bool inClass = false;
        for (std::size_t i = 0; i < m_p.size(); ++i) {
            const char16_t c = m_p[i];
            if (c == u'\\') {
                ++i;
            } else if (inClass) {
                if (c == u']')
                    inClass = false;
            } else if (c == u'[') {
                inClass = true;
            } else if (c == u'(') {
                if (i + 1 < m_p.size() && m_p[i + 1] == u'?') {
                    if (i + 3 < m_p.size() && m_p[i + 2] == u'<' && m_p[i + 3] != u'='
                        && m_p[i + 3] != u'!') {
                        ++m_totalGroups;
                        m_hasNames = true;
                    }
                } else {
                    ++m_totalGroups;
                }
            }
        }
    }

    Piece disjunction()
    {
        Piece all = alternative();
        all.eachAltFixed = all.fixed;
        while (has() && peek() == u'|') {
            ++m_i;
            Piece alt = alternative();
            all.text += u'|';
            all.text += alt.text;
            all.fixed = all.fixed && alt.fixed && alt.minLen == all.minLen;
            all.eachAltFixed = all.eachAltFixed && alt.fixed;
            all.minLen = std::min(all.minLen, alt.minLen);
            all.maxLen = (all.maxLen == kUnbounded || alt.maxLen == kUnbounded)
                             ? kUnbounded : std::max(all.maxLen, alt.maxLen);
            all.hasCaptures |= alt.hasCaptures;
        }
        return all;
    }

    Piece alternative()
    {
        Piece seq;
        while (has() && peek() != u'|' && peek() != u')') {
            Piece t = term();
            seq.text += t.text;
            seq.minLen = addLen(seq.minLen, t.minLen);
            seq.maxLen = addLen(seq.maxLen, t.maxLen);
            seq.fixed = seq.fixed && t.fixed;
            seq.hasCaptures |= t.hasCaptures;
        }
        return seq;
    }

    static Piece assertion(std::u16string text)
    {
        Piece p;
        p.text = std::move(text);
        p.quantifiable = false;
        return p;
    }

    Piece term()
    {
        const std::size_t start = m_i;
        const int groupsBefore = m_groupsMade;
        const int wrappersBefore = int(m_result.wrapperParent.size());
        const char16_t c = peek();
        Piece atom;
        if (c == u'^') {
            ++m_i;
            atom = assertion(m_multiline ? u"(?<![^\\n\\r\\x{2028}\\x{2029}])" : u"\\A");
        } else if (c == u'$') {
            ++m_i;
            atom = assertion(m_multiline ? u"(?![^\\n\\r\\x{2028}\\x{2029}])" : u"\\z");
        } else if (c == u'\\' && (peek(1) == u'b' || peek(1) == u'B')) {
            atom = assertion(peek(1) == u'b' ? u"\\b" : u"\\B");
            m_i += 2;
        } else if (c == u'*' || c == u'+' || c == u'?' || (c == u'{' && braced(m_i))) {
            fail(int(m_i) + 1, u"繰り返し「" + std::u16string(1, c) + u"」の前に繰り返す対象がありません。");
        } else {
            atom = atomBody();
        }
        const std::size_t quantPos = m_i;
        const auto q = quantifier();
        if (!q)
            return atom;
        if (!atom.quantifiable)
            fail(int(quantPos) + 1, u"「" + std::u16string(m_p.substr(start, quantPos - start))
                                        + u"」は繰り返せません。");
        return quantify(std::move(atom), *q, groupsBefore, wrappersBefore);
    }

    // Whether a braced quantifier "{n}", "{n,}" or "{n,m}" starts at pos.
    bool braced(std::size_t pos, long long* min = nullptr, long long* max = nullptr,
                std::size_t* end = nullptr) const
    {
        std::size_t i = pos;
        if (i >= m_p.size() || m_p[i] != u'{')
            return false;
        ++i;
        auto digits = [&](long long& value) {
            const std::size_t from = i;
            value = 0;
            while (i < m_p.size() && m_p[i] >= u'0' && m_p[i] <= u'9') {
                value = std::min<long long>(value * 10 + (m_p[i] - u'0'), 1LL << 40);
                ++i;
            }
            return i > from;
        };
        long long lo = 0, hi = 0;
        if (!digits(lo))
            return false;
        hi = lo;
        if (i < m_p.size() && m_p[i] == u',') {
            ++i;
            if (!digits(hi))
                hi = kUnbounded;
        }
        if (i >= m_p.size() || m_p[i] != u'}')
            return false;
        if (min) *min = lo;
        if (max) *max = hi;
        if (end) *end = i + 1;
        return true;
    }

    std::optional<Quant> quantifier()
    {
        if (!has())
            return std::nullopt;
        Quant q{0, 0, false};
        const char16_t c = peek();
        if (c == u'*') {
            q = {0, kUnbounded, false};
            ++m_i;
        } else if (c == u'+') {
            q = {1, kUnbounded, false};
            ++m_i;
        } else if (c == u'?') {
            q = {0, 1, false};
            ++m_i;
        } else if (c == u'{') {
            std::size_t end = 0;
            if (!braced(m_i, &q.min, &q.max, &end))
                return std::nullopt;
            if (q.max != kUnbounded && q.max < q.min)
                fail(int(m_i) + 1, u"繰り返し回数の最小値が最大値より大きくなっています。");
            if (q.min > kMaxRepeat || q.max > kMaxRepeat)
                fail(int(m_i) + 1, u"繰り返し回数が大きすぎます (65535 まで)。");
            m_i = end;
        } else {
            return std::nullopt;
        }
        if (has() && peek() == u'?') {
            q.lazy = true;
            ++m_i;
        }
        return q;
    }

    static std::u16string quantText(const Quant& q)
    {
        std::u16string s;
        if (q.min == 0 && q.max == kUnbounded)
            s = u"*";
        else if (q.min == 1 && q.max == kUnbounded)
            s = u"+";
        else if (q.min == 0 && q.max == 1)
            s = u"?";
        else if (q.max == kUnbounded)
            s = u"{" + number(q.min) + u",}";
        else if (q.max == q.min)
            s = u"{" + number(q.min) + u"}";
        else
            s = u"{" + number(q.min) + u"," + number(q.max) + u"}";
        if (q.lazy)
            s += u'?';
        return s;
    }

    Piece quantify(Piece atom, const Quant& q, int groupsBefore, int wrappersBefore)
    {
        Piece out;
        out.hasCaptures = atom.hasCaptures;
        if (atom.lookahead) {
            // An iteration of an assertion matches the empty string, so past the minimum it
            // is refused: the assertion applies once when the minimum is not zero, never
            // otherwise (its groups stay, unset).
            out.text = q.min == 0 ? u"(?:" + atom.text + u"){0}" : atom.text;
            return out;
        }
        std::u16string body = std::move(atom.text);
        if (atom.hasCaptures && (q.max == kUnbounded || q.max > 1)) {
            const int w = int(m_result.wrapperParent.size());
            if (atom.atomId >= 0) {
                const int iteration = m_iterations++;
                m_atomIteration[std::size_t(atom.atomId)] = iteration;
                m_atomWrapper[std::size_t(atom.atomId)] = w;
                body = u"(?<i" + number(iteration) + u">)" + body;
            }
            m_result.wrapperParent.push_back(-1);
            for (int g = groupsBefore + 1; g <= m_groupsMade; ++g)
                if (m_result.groupParent[std::size_t(g)] == -1)
                    m_result.groupParent[std::size_t(g)] = w;
            for (int k = wrappersBefore; k < w; ++k)
                if (m_result.wrapperParent[std::size_t(k)] == -1)
                    m_result.wrapperParent[std::size_t(k)] = w;
            body = u"(?<w" + number(w) + u">" + body + u")";
        }
        const bool mayBeEmpty = atom.minLen == 0;
        const bool repeats = q.max == kUnbounded || q.max > q.min;
        if (mayBeEmpty && repeats && q.min >= 1 && canRepeatText(body)) {
            // The first iterations may be empty, the others not: written as the minimum
            // count of the atom, then the checked loop for the rest. (PCRE2 would end the
            // loop after any empty iteration instead of trying another.)
            if (m_result.emptyChecks.size() >= 254)
                fail(0, u"空の文字列に一致しうる繰り返しが多すぎます (254 まで)。");
            m_result.emptyChecks.push_back({false});
            const std::u16string k = number((long long)m_result.emptyChecks.size());
            const Quant rest{0, q.max == kUnbounded ? kUnbounded : q.max - q.min, q.lazy};
            out.text = u"(?:" + body + u")" + quantText({q.min, q.min, false})
                     + u"(?:(?<s" + k + u">)" + body + u"(?C" + k + u"))" + quantText(rest);
        } else if (mayBeEmpty && repeats && q.min <= 1) {
            if (m_result.emptyChecks.size() >= 254)
                fail(0, u"空の文字列に一致しうる繰り返しが多すぎます (254 まで)。");
            m_result.emptyChecks.push_back({q.min == 1});
            const std::u16string k = number((long long)m_result.emptyChecks.size());
            std::u16string text;
            if (q.min == 1)
                text = u"(?<q" + k + u">)";
            text += u"(?:(?<s" + k + u">)" + body + u"(?C" + k + u"))" + quantText(q);
            out.text = std::move(text);
        } else {
            out.text = u"(?:" + body + u")" + quantText(q);
        }
        out.minLen = mulLen(atom.minLen, q.min);
        out.maxLen = mulLen(atom.maxLen, q.max);
        out.fixed = atom.fixed && q.min == q.max;
        return out;
    }

    // Whether text may appear twice in the pattern: it defines no group and no numbered
    // callout of its own.
    static bool canRepeatText(const std::u16string& text)
    {
        for (std::size_t i = 0; i + 3 < text.size(); ++i) {
            if (text[i] != u'(' || text[i + 1] != u'?')
                continue;
            if (text[i + 2] == u'C' && text[i + 3] != u'"')
                return false;
            if (text[i + 2] == u'<' && text[i + 3] != u'=' && text[i + 3] != u'!')
                return false;
        }
        return true;
    }

    Piece literal(char16_t u)
    {
        Piece p;
        appendUnit(p.text, m_ignoreCase ? jsCanonicalize(u) : u);
        p.minLen = p.maxLen = 1;
        return p;
    }

    Piece set(UnitSet s)
    {
        if (m_ignoreCase)
            s.addCanonicalForms();
        Piece p;
        p.text = classText(s);
        p.minLen = p.maxLen = 1;
        return p;
    }

    Piece atomBody()
    {
        const char16_t c = peek();
        if (c == u'.') {
            ++m_i;
            UnitSet terminators;
            terminators.add(u'\n');
            terminators.add(u'\r');
            terminators.add(0x2028, 0x2029);
            return set(terminators.complement());
        }
        if (c == u'(')
            return group();
        if (c == u'[')
            return characterClass();
        if (c == u'\\')
            return escape();
        ++m_i;
        return literal(c);
    }

    std::u16string groupName(int position)
    {
        std::u16string name;
        bool first = true;
        while (true) {
            if (!has())
                fail(position, u"グループ名が正しくありません。");
            if (peek() == u'>') {
                ++m_i;
                break;
            }
            char32_t cp = peek();
            std::size_t width = 1;
            if (cp == u'\\' && peek(1) == u'u' && has(5)) {
                cp = 0;
                for (std::size_t k = 2; k < 6; ++k) {
                    const int d = hexValue(peek(k));
                    if (d < 0)
                        fail(position, u"グループ名が正しくありません。");
                    cp = cp * 16 + char32_t(d);
                }
                width = 6;
            } else if (U16_IS_LEAD(cp) && U16_IS_TRAIL(peek(1))) {
                cp = char32_t(U16_GET_SUPPLEMENTARY(cp, peek(1)));
                width = 2;
            }
            const bool ok = cp == U'$' || cp == U'_'
                         || (first ? u_hasBinaryProperty(UChar32(cp), UCHAR_ID_START)
                                   : (u_hasBinaryProperty(UChar32(cp), UCHAR_ID_CONTINUE)
                                      || cp == 0x200C || cp == 0x200D));
            if (!ok)
                fail(position, u"グループ名が正しくありません。");
            if (cp >= 0x10000) {
                name += char16_t(U16_LEAD(cp));
                name += char16_t(U16_TRAIL(cp));
            } else {
                name += char16_t(cp);
            }
            m_i += width;
            first = false;
        }
        if (name.empty())
            fail(position, u"グループ名が空です。");
        return name;
    }

    Piece group()
    {
        const int position = int(m_i) + 1;
        if (++m_depth > kMaxDepth)
            fail(position, u"グループの入れ子が深すぎます。");
        ++m_i;  // '('
        enum class Kind { Capture, NonCapture, Ahead, NotAhead, Behind, NotBehind };
        Kind kind = Kind::Capture;
        std::u16string name;
        if (!has() || peek() != u'?') {
            kind = Kind::Capture;
        } else if (lookingAt(u"?:")) {
            kind = Kind::NonCapture;
            m_i += 2;
        } else if (lookingAt(u"?=")) {
            kind = Kind::Ahead;
            m_i += 2;
        } else if (lookingAt(u"?!")) {
            kind = Kind::NotAhead;
            m_i += 2;
        } else if (lookingAt(u"?<=")) {
            kind = Kind::Behind;
            m_i += 3;
        } else if (lookingAt(u"?<!")) {
            kind = Kind::NotBehind;
            m_i += 3;
        } else if (lookingAt(u"?<")) {
            m_i += 2;
            name = groupName(position);
            for (const auto& n : m_result.names)
                if (n.first == name)
                    fail(position, u"グループ名「" + name + u"」が重複しています。");
        } else {
            const std::size_t from = m_i - 1;
            const std::u16string what(m_p.substr(from, std::min<std::size_t>(3, m_p.size() - from)));
            fail(position, u"「" + what + u"」で始まるグループは使えません。");
        }
        const int atomId = int(m_atomIteration.size());
        m_atomIteration.push_back(-1);
        m_atomWrapper.push_back(-1);
        m_atomStack.push_back(atomId);
        int groupNumber = 0;
        if (kind == Kind::Capture) {
            groupNumber = ++m_groupsMade;
            if (!name.empty())
                m_result.names.emplace_back(name, groupNumber);
            m_groupAncestors[std::size_t(groupNumber)] = m_atomStack;
        }
        Piece inner = disjunction();
        if (!has() || peek() != u')')
            fail(position, u"「(」に対応する「)」がありません。");
        ++m_i;
        --m_depth;
        m_atomStack.pop_back();

        Piece p;
        p.atomId = atomId;
        p.hasCaptures = inner.hasCaptures || kind == Kind::Capture;
        switch (kind) {
        case Kind::Capture:
            p.text = u"(?<g" + number(groupNumber) + u">" + inner.text + u")";
            break;
        case Kind::NonCapture:
            p.text = u"(?:" + inner.text + u")";
            break;
        case Kind::Ahead:
        case Kind::NotAhead:
            p.text = (kind == Kind::Ahead ? u"(?=" : u"(?!") + inner.text + u")";
            p.lookahead = true;
            return p;
        case Kind::Behind:
        case Kind::NotBehind:
            // PCRE2 looks behind by stepping back a known distance, so each alternative
            // must have one length (JavaScript itself would also take other lookbehinds).
            if (!inner.eachAltFixed)
                fail(position, u"後読みの各選択肢は長さが一定でなければなりません"
                               u" (繰り返しや後方参照を含む後読みには対応していません)。");
            p.text = (kind == Kind::Behind ? u"(?<=" : u"(?<!") + inner.text + u")";
            p.quantifiable = false;
            return p;
        }
        p.minLen = inner.minLen;
        p.maxLen = inner.maxLen;
        p.fixed = inner.fixed;
        return p;
    }

    // Legacy octal: up to three digits, the value at most 0377.
    char16_t legacyOctal()
    {
        int value = peek() - u'0';
        ++m_i;
        const int maxDigits = value <= 3 ? 3 : 2;
        for (int n = 1; n < maxDigits && has() && peek() >= u'0' && peek() <= u'7'; ++n) {
            value = value * 8 + (peek() - u'0');
            ++m_i;
        }
        return char16_t(value);
    }

    // The escapes that stand for one unit, after the backslash; the unit, or nullopt when the
    // escape is not one of them (m_i unchanged then).
    std::optional<char16_t> characterEscape(bool inClass)
    {
        const char16_t c = peek();
        switch (c) {
        case u'f': ++m_i; return char16_t(0x0C);
        case u'n': ++m_i; return char16_t(0x0A);
        case u'r': ++m_i; return char16_t(0x0D);
        case u't': ++m_i; return char16_t(0x09);
        case u'v': ++m_i; return char16_t(0x0B);
        case u'c': {
            const char16_t x = peek(1);
            if (has(1) && (isAsciiLetter(x) || (inClass && ((x >= u'0' && x <= u'9') || x == u'_')))) {
                m_i += 2;
                return char16_t(x % 32);
            }
            // "\c" without a control letter is a backslash; the c is read on its own.
            return char16_t(u'\\');
        }
        case u'x': {
            const int h1 = has(1) ? hexValue(peek(1)) : -1;
            const int h2 = has(2) ? hexValue(peek(2)) : -1;
            if (h1 >= 0 && h2 >= 0) {
                m_i += 3;
                return char16_t(h1 * 16 + h2);
            }
            ++m_i;
            return char16_t(u'x');
        }
        case u'u': {
            int value = 0;
            for (std::size_t k = 1; k <= 4; ++k) {
                const int h = has(k) ? hexValue(peek(k)) : -1;
                if (h < 0) {
                    ++m_i;
                    return char16_t(u'u');
                }
                value = value * 16 + h;
            }
            m_i += 5;
            return char16_t(value);
        }
        case u'0':
            if (!has(1) || peek(1) < u'0' || peek(1) > u'9') {
                ++m_i;
                return char16_t(0);
            }
            return legacyOctal();
        default:
            break;
        }
        return std::nullopt;
    }

    std::optional<UnitSet> setEscape()
    {
        UnitSet s;
        switch (peek()) {
        case u'd': s = digitSet(); break;
        case u'D': s = digitSet().complement(); break;
        case u'w': s = wordSet(); break;
        case u'W': s = wordSet().complement(); break;
        case u's': s = spaceSet(); break;
        case u'S': s = spaceSet().complement(); break;
        default: return std::nullopt;
        }
        ++m_i;
        return s;
    }

    Piece escape()
    {
        const int position = int(m_i) + 1;
        ++m_i;  // backslash
        if (!has())
            fail(position, u"パターンが「\\」で終わっています。");
        if (auto s = setEscape())
            return set(*s);
        if (peek() == u'c' && !(has(1) && isAsciiLetter(peek(1)))) {
            return literal(u'\\');  // the c follows as a character of its own
        }
        if (auto u = characterEscape(false))
            return literal(*u);
        const char16_t c = peek();
        if (c >= u'1' && c <= u'9') {
            // A back-reference when the number names a group of the pattern, else octal or
            // the digit itself.
            std::size_t j = m_i;
            long long n = 0;
            while (j < m_p.size() && m_p[j] >= u'0' && m_p[j] <= u'9') {
                n = std::min<long long>(n * 10 + (m_p[j] - u'0'), 1LL << 40);
                ++j;
            }
            if (n <= m_totalGroups) {
                m_i = j;
                return backReference(int(n));
            }
            if (c >= u'8') {
                ++m_i;
                return literal(c);
            }
            return literal(legacyOctal());
        }
        if (c == u'k' && m_hasNames) {
            ++m_i;
            if (!has() || peek() != u'<')
                fail(position, u"「\\k」の後には <名前> が必要です。");
            ++m_i;
            const std::u16string name = groupName(position);
            m_namedRefs.emplace_back(name, position);
            return backReference(0, name);
        }
        ++m_i;
        return literal(c);  // any other escaped unit stands for itself
    }

    // A back-reference to group number or (when number is 0) to the named group. Its form
    // depends on the quantifiers around it, known once the whole pattern is read: a
    // placeholder holds its place until then.
    Piece backReference(int groupNumber, const std::u16string& name = {})
    {
        m_refs.push_back({groupNumber, name, m_atomStack});
        Piece p;
        p.text = std::u16string(1, char16_t(1)) + number((long long)m_refs.size() - 1) + char16_t(1);
        p.minLen = 0;
        p.maxLen = kUnbounded;
        p.fixed = false;
        return p;
    }

    Piece characterClass()
    {
        const int position = int(m_i) + 1;
        ++m_i;  // '['
        bool negated = false;
        if (has() && peek() == u'^') {
            negated = true;
            ++m_i;
        }
        UnitSet members;
        // One class atom: a unit, or a set for \d and the like.
        struct ClassAtom {
            std::optional<char16_t> unit;
            UnitSet set;
        };
        auto classAtom = [&]() -> ClassAtom {
            ClassAtom a;
            if (peek() != u'\\') {
                a.unit = peek();
                ++m_i;
                return a;
            }
            const int at = int(m_i) + 1;
            ++m_i;
            if (!has())
                fail(at, u"パターンが「\\」で終わっています。");
            if (auto s = setEscape()) {
                a.set = *s;
                return a;
            }
            const char16_t c = peek();
            if (c == u'b') {
                ++m_i;
                a.unit = char16_t(8);
                return a;
            }
            if (c == u'-') {
                ++m_i;
                a.unit = u'-';
                return a;
            }
            if (c == u'c' && !(has(1) && (isAsciiLetter(peek(1)) || (peek(1) >= u'0' && peek(1) <= u'9')
                                          || peek(1) == u'_'))) {
                a.unit = u'\\';
                return a;
            }
            if (auto u = characterEscape(true)) {
                a.unit = *u;
                return a;
            }
            if (c >= u'1' && c <= u'7') {
                a.unit = legacyOctal();
                return a;
            }
            if (c == u'k' && m_hasNames)
                fail(at, u"文字クラスの中の「\\k」は使えません。");
            ++m_i;
            a.unit = c;
            return a;
        };
        while (true) {
            if (!has())
                fail(position, u"「[」に対応する「]」がありません。");
            if (peek() == u']') {
                ++m_i;
                break;
            }
            const std::size_t rangeStart = m_i;
            ClassAtom first = classAtom();
            if (has(1) && peek() == u'-' && peek(1) != u']') {
                ++m_i;  // '-'
                ClassAtom second = classAtom();
                if (first.unit && second.unit) {
                    if (*first.unit > *second.unit)
                        fail(int(rangeStart) + 1, u"文字クラスの範囲「"
                                 + std::u16string(m_p.substr(rangeStart, m_i - rangeStart))
                                 + u"」の順序が逆です。");
                    members.add(*first.unit, *second.unit);
                } else {
                    // A set at either end: both ends and the hyphen are members.
                    for (ClassAtom* a : {&first, &second}) {
                        if (a->unit)
                            members.add(*a->unit);
                        else
                            members.add(a->set);
                    }
                    members.add(u'-');
                }
                continue;
            }
            if (first.unit)
                members.add(*first.unit);
            else
                members.add(first.set);
        }
        if (m_ignoreCase)
            members.addCanonicalForms();
        UnitSet result = negated ? members.complement() : members;
        Piece p;
        p.text = classText(result);
        p.minLen = p.maxLen = 1;
        return p;
    }

    std::u16string_view m_p;
    std::size_t m_i = 0;
    bool m_ignoreCase;
    bool m_multiline;
    int m_totalGroups = 0;
    bool m_hasNames = false;
    int m_groupsMade = 0;
    int m_depth = 0;
    std::vector<std::pair<std::u16string, int>> m_namedRefs;
    struct Ref {
        int group;              // 0: by name
        std::u16string name;
        std::vector<int> ancestors;  // the groups around the reference, outermost first
    };
    std::vector<Ref> m_refs;
    // Groups of every kind by their order of opening: the iteration group of a repeated
    // one that holds captures, else -1.
    std::vector<int> m_atomIteration;
    std::vector<int> m_atomWrapper;  // its wrapper "wK", or -1
    std::vector<int> m_atomStack;
    int m_iterations = 0;
    // For each capture group: the groups around it, itself included.
    std::vector<std::vector<int>> m_groupAncestors;
    TranslatedPattern m_result;
};

} // namespace

std::u16string number(long long n)
{
    const std::string s = std::to_string(n);
    return {s.begin(), s.end()};
}

std::variant<TranslatedPattern, PatternError>
translateJsPattern(std::u16string_view pattern, bool ignoreCase, bool multiline)
{
    try {
        Parser parser(pattern, ignoreCase, multiline);
        TranslatedPattern t = parser.run();
        return t;
    } catch (const Failure& f) {
        return f.error;
    }
}

} // namespace platform::regexp
