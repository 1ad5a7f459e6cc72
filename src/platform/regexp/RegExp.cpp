#include "platform/regexp/RegExp.h"

#include "platform/regexp/JsCase.h"
#include "platform/regexp/JsPattern_p.h"
#include "platform/regexp/JsSubstitution_p.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <chrono>
#include <variant>
#include <vector>

namespace platform::regexp {

namespace {

const std::u16string kSource = u"正規表現";

// Work allowed for one search before it counts as running for ever: about a second of
// backtracking at most, far beyond what a sensible pattern needs on the largest text.
constexpr std::uint32_t kMatchLimit = 20'000'000;
constexpr std::uint32_t kDepthLimit = 100'000;
constexpr std::uint32_t kHeapLimitKiB = 256 * 1024;
// The callout at the start of every pattern.
constexpr std::uint32_t kAttemptCallout = 255;
// Texts from this length on are matched by machine code.
std::size_t g_jitFromUnits = 4096;
// All the searches of one replace together.
constexpr std::chrono::milliseconds kTimeBudget{2000};

std::u16string pcreMessage(int code)
{
    PCRE2_UCHAR16 buffer[256];
    const int n = pcre2_get_error_message_16(code, buffer, 256);
    return n > 0 ? std::u16string(reinterpret_cast<const char16_t*>(buffer), std::size_t(n))
                 : std::u16string();
}

RegExpError compileError(int code)
{
    std::u16string d;
    switch (code) {
    case PCRE2_ERROR_PATTERN_TOO_LARGE:
    case PCRE2_ERROR_PATTERN_TOO_COMPLICATED:
        d = u"パターンが大きすぎるか複雑すぎて処理できません。";
        break;
    case PCRE2_ERROR_LOOKBEHIND_NOT_FIXED_LENGTH:
    case PCRE2_ERROR_LOOKBEHIND_TOO_COMPLICATED:
        d = u"後読みの長さが一定でないため処理できません。";
        break;
    case PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP:
        d = u"グループの入れ子が深すぎます。";
        break;
    default:
        d = u"パターンを処理できません (" + pcreMessage(code) + u")。";
        break;
    }
    return {kSource, d};
}

// The result that replaces a text which would grow past the limit: nothing, and the error.
RegExp::Result tooLarge()
{
    RegExp::Result r;
    r.error = RegExpError{kSource, u"置換の結果が大きすぎます (10 MB を超えます)。"
                                   u"テキストは変更されていません。"};
    return r;
}

RegExpError matchError(int code)
{
    switch (code) {
    case PCRE2_ERROR_MATCHLIMIT:
    case PCRE2_ERROR_DEPTHLIMIT:
    case PCRE2_ERROR_HEAPLIMIT:
    case PCRE2_ERROR_JIT_STACKLIMIT:
    case PCRE2_ERROR_NOMEMORY:
    case PCRE2_ERROR_CALLOUT:
        return {kSource, u"照合のやり直しが多すぎるため中止しました。"
                         u"同じ部分に何通りにも一致しうるパターン (例: (a+)+) を見直してください。"
                         u"テキストは変更されていません。"};
    default:
        return {kSource, u"照合中にエラーが起きました (" + pcreMessage(code) + u")。"};
    }
}

} // namespace

struct RegExp::Compiled {
    TranslatedPattern info;
    pcre2_code_16* code = nullptr;
    pcre2_match_context_16* matchContext = nullptr;
    pcre2_match_data_16* matchData = nullptr;
    pcre2_jit_stack_16* jitStack = nullptr;
    bool jitTried = false;
    // PCRE2's numbers of the groups "gN", "wK", and of "sK" and "qK" of each empty check.
    std::vector<std::uint32_t> groupNumber;  // index N
    std::vector<std::uint32_t> wrapperNumber;
    struct Check {
        std::uint32_t start;
        std::uint32_t quantifierStart;  // 0 when the first iteration is not special
    };
    std::vector<Check> checks;
    struct RefCheck {
        std::uint32_t group;
        std::vector<std::uint32_t> wrappers;
        std::uint32_t iterationStart;  // 0 for none
    };
    std::vector<RefCheck> refChecks;

    ~Compiled()
    {
        pcre2_match_data_free_16(matchData);
        pcre2_match_context_free_16(matchContext);
        pcre2_jit_stack_free_16(jitStack);
        pcre2_code_free_16(code);
    }

    std::uint32_t numberOf(const std::u16string& name) const
    {
        const int n = pcre2_substring_number_from_name_16(
            code, reinterpret_cast<PCRE2_SPTR16>(name.c_str()));
        return n > 0 ? std::uint32_t(n) : 0;
    }

    // The end of the time the current replace may take; checked at every start of a match
    // attempt, as PCRE2's own limit counts per start position only.
    std::chrono::steady_clock::time_point deadline;
    unsigned attempts = 0;

    // Callout 255 starts an attempt; the others end an iteration, refusing it when it matched
    // the empty string past the minimum.
    static int callout(pcre2_callout_block_16* block, void* data)
    {
        auto* self = static_cast<Compiled*>(data);
        if (block->callout_number == kAttemptCallout) {
            if ((++self->attempts & 255) == 0 && std::chrono::steady_clock::now() > self->deadline)
                return PCRE2_ERROR_CALLOUT;
            return 0;
        }
        auto groupStart = [block](std::uint32_t group) {
            return group < block->capture_top ? block->offset_vector[2 * group] : PCRE2_UNSET;
        };
        if (block->callout_string) {
            // "fK" goes on when reference K's group was set in the current iteration, "sK"
            // when it was set in an earlier one.
            std::size_t k = 0;
            for (PCRE2_SIZE i = 1; i < block->callout_string_length; ++i)
                k = k * 10 + std::size_t(block->callout_string[i] - u'0');
            if (k >= self->refChecks.size())
                return 0;
            const RefCheck& check = self->refChecks[k];
            PCRE2_SIZE start = groupStart(check.group);
            bool stale = false;
            if (start != PCRE2_UNSET) {
                for (std::uint32_t w : check.wrappers) {
                    const PCRE2_SIZE ws = groupStart(w);
                    if (ws == PCRE2_UNSET || start < ws) {
                        stale = true;
                        break;
                    }
                    start = ws;
                }
                const PCRE2_SIZE iteration =
                    check.iterationStart ? groupStart(check.iterationStart) : PCRE2_UNSET;
                stale = stale || (iteration != PCRE2_UNSET && start < iteration);
            }
            const bool wantsStale = block->callout_string[0] == u's';
            return stale == wantsStale ? 0 : 1;
        }
        const std::size_t k = block->callout_number;
        if (k < 1 || k > self->checks.size())
            return 0;
        const Check& check = self->checks[k - 1];
        const PCRE2_SIZE start = groupStart(check.start);
        if (start == PCRE2_UNSET || block->current_position != start)
            return 0;
        if (check.quantifierStart == 0)
            return 1;
        // A minimum of one: the iteration that begins where the quantifier began may be empty.
        const PCRE2_SIZE first = groupStart(check.quantifierStart);
        return start > first ? 1 : 0;
    }
};

std::size_t RegExp::machineCodeFromUnits()
{
    return g_jitFromUnits;
}

void RegExp::setMachineCodeFromUnits(std::size_t units)
{
    g_jitFromUnits = units;
}

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

void RegExp::setPattern(std::u16string_view pattern)
{
    m_pattern = pattern;
    m_compiled.reset();
}

void RegExp::setIgnoreCase(bool on)
{
    if (on != m_ignoreCase)
        m_compiled.reset();
    m_ignoreCase = on;
}

void RegExp::setMultiline(bool on)
{
    if (on != m_multiline)
        m_compiled.reset();
    m_multiline = on;
}

std::optional<RegExpError> RegExp::compile()
{
    if (m_compiled)
        return std::nullopt;
    auto translated = translateJsPattern(m_pattern, m_ignoreCase, m_multiline);
    if (auto* error = std::get_if<PatternError>(&translated))
        return RegExpError{kSource, error->description};
    auto c = std::make_unique<Compiled>();
    c->info = std::move(std::get<TranslatedPattern>(translated));

    pcre2_compile_context_16* context = pcre2_compile_context_create_16(nullptr);
    pcre2_set_parens_nest_limit_16(context, 4000);
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    const std::uint32_t options = PCRE2_MATCH_UNSET_BACKREF | PCRE2_NO_AUTO_CAPTURE
                                | PCRE2_NEVER_UTF | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C;
    // Every match attempt starts with the callout that watches the time.
    const std::u16string pcre = u"(?C255)(?:" + c->info.pcre + u")";
    c->code = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(pcre.data()), pcre.size(),
                               options, &errorCode, &errorOffset, context);
    pcre2_compile_context_free_16(context);
    if (!c->code)
        return compileError(errorCode);

    c->groupNumber.assign(std::size_t(c->info.groupCount) + 1, 0);
    for (int n = 1; n <= c->info.groupCount; ++n)
        c->groupNumber[std::size_t(n)] = c->numberOf(u"g" + number(n));
    for (std::size_t k = 0; k < c->info.wrapperParent.size(); ++k)
        c->wrapperNumber.push_back(c->numberOf(u"w" + number((long long)k)));
    for (std::size_t k = 0; k < c->info.emptyChecks.size(); ++k) {
        const std::u16string id = number((long long)k + 1);
        c->checks.push_back({c->numberOf(u"s" + id),
                             c->info.emptyChecks[k].firstMayBeEmpty ? c->numberOf(u"q" + id) : 0});
    }

    for (const auto& check : c->info.backRefChecks) {
        Compiled::RefCheck r{c->numberOf(u"g" + number(check.group)), {},
                   check.iteration >= 0 ? c->numberOf(u"i" + number(check.iteration)) : 0};
        for (int w : check.wrappers)
            r.wrappers.push_back(c->numberOf(u"w" + number(w)));
        c->refChecks.push_back(std::move(r));
    }

    c->matchContext = pcre2_match_context_create_16(nullptr);
    pcre2_set_match_limit_16(c->matchContext, kMatchLimit);
    pcre2_set_depth_limit_16(c->matchContext, kDepthLimit);
    pcre2_set_heap_limit_16(c->matchContext, kHeapLimitKiB);
    pcre2_set_callout_16(c->matchContext, &Compiled::callout, c.get());
    c->matchData = pcre2_match_data_create_from_pattern_16(c->code, nullptr);
    m_compiled = std::move(c);
    return std::nullopt;
}

RegExp::Result RegExp::replace(std::u16string_view text, std::u16string_view replacement)
{
    Result result;
    if (auto error = compile()) {
        result.error = std::move(error);
        return result;
    }
    Compiled& c = *m_compiled;
    // Compiling to machine code costs more than interpreting a short text; without JIT
    // support the interpreter runs the same pattern.
    if (!c.jitTried && text.size() >= g_jitFromUnits) {
        c.jitTried = true;
        if (pcre2_jit_compile_16(c.code, PCRE2_JIT_COMPLETE) == 0) {
            c.jitStack = pcre2_jit_stack_create_16(32 * 1024, 8 * 1024 * 1024, nullptr);
            if (c.jitStack)
                pcre2_jit_stack_assign_16(c.matchContext, nullptr, c.jitStack);
        }
    }

    // Case-insensitive patterns run over the canonical forms; positions are the same.
    std::u16string canonical;
    std::u16string_view subject = text;
    if (m_ignoreCase) {
        canonical.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            canonical[i] = jsCanonicalize(text[i]);
        subject = canonical;
    }

    const auto deadline = std::chrono::steady_clock::now() + kTimeBudget;
    c.deadline = deadline;
    c.attempts = 0;
    MatchView match{text, 0, 0, {}, &c.info.names};
    match.groups.resize(std::size_t(c.info.groupCount));
    std::u16string& out = result.text;
    std::size_t copiedTo = 0;  // text before this is in out
    std::size_t from = 0;
    while (from <= text.size()) {
        const int rc = pcre2_match_16(c.code, reinterpret_cast<PCRE2_SPTR16>(subject.data()),
                                      subject.size(), from, 0, c.matchData, c.matchContext);
        if (rc == PCRE2_ERROR_NOMATCH)
            break;
        if (rc < 0 || std::chrono::steady_clock::now() > deadline) {
            result.text.clear();
            result.error = matchError(rc < 0 ? rc : PCRE2_ERROR_MATCHLIMIT);
            return result;
        }
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer_16(c.matchData);
        match.start = ov[0];
        match.end = ov[1];
        // A wrapper's capture counts when it lies in the last iteration of the wrapper
        // around it; a group's when it lies in the last iteration of its own wrapper.
        auto wrapperStart = [&](auto& self, int w) -> PCRE2_SIZE {
            const PCRE2_SIZE s = ov[2 * c.wrapperNumber[std::size_t(w)]];
            const int parent = c.info.wrapperParent[std::size_t(w)];
            if (s == PCRE2_UNSET || parent < 0)
                return s;
            const PCRE2_SIZE ps = self(self, parent);
            return (ps == PCRE2_UNSET || s < ps) ? PCRE2_UNSET : s;
        };
        for (int n = 1; n <= c.info.groupCount; ++n) {
            const std::uint32_t g = c.groupNumber[std::size_t(n)];
            PCRE2_SIZE s = ov[2 * g];
            const PCRE2_SIZE e = ov[2 * g + 1];
            const int parent = c.info.groupParent[std::size_t(n)];
            if (s != PCRE2_UNSET && parent >= 0) {
                const PCRE2_SIZE ws = wrapperStart(wrapperStart, parent);
                if (ws == PCRE2_UNSET || s < ws)
                    s = PCRE2_UNSET;
            }
            match.groups[std::size_t(n - 1)] = {s == PCRE2_UNSET ? std::u16string_view::npos : s, e};
        }
        const std::size_t limit = maxResultUnits();
        const std::size_t between = match.start - copiedTo;
        if (out.size() + between > limit) {
            result = tooLarge();
            return result;
        }
        out.append(text.substr(copiedTo, between));
        if (!appendSubstitution(out, replacement, match, limit)) {
            result = tooLarge();
            return result;
        }
        copiedTo = match.end;
        if (!m_global)
            break;
        // After an empty match the search goes on one unit further.
        from = match.end == match.start ? match.end + 1 : match.end;
    }
    if (out.size() + (text.size() - copiedTo) > maxResultUnits())
        return tooLarge();
    out.append(text.substr(copiedTo));
    return result;
}

} // namespace platform::regexp
