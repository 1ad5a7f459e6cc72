#pragma once
// Translation of a JavaScript regular expression (the RegExp dialect without the u, s and y
// flags, with the web-compatibility grammar browsers and node accept) into a PCRE2 pattern
// that means the same thing on 16-bit units in PCRE2's non-UTF mode. Every construct is
// spelled out explicitly (the dot, \s, ^ and $ with their line terminators, each literal
// and class), so no PCRE2 option decides what the pattern means; syntax that only PCRE2
// knows (\A, \z, (?i), possessive quantifiers, \Q..\E, ...) reaches PCRE2 with JavaScript's
// meaning or is refused as JavaScript refuses it.
//
// Case-insensitive patterns are translated for a subject that has been canonicalized unit
// by unit (jsCanonicalize): literals and classes are mapped to canonical forms, and the
// match positions are those of the original text.
//
// Capture groups are named "gN" (N the JavaScript group number), so the hidden groups the
// translation adds do not disturb the numbering.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform::regexp {

struct TranslatedPattern {
    std::u16string pcre;
    int groupCount = 0;
    // Named groups in the order they appear: name and group number.
    std::vector<std::pair<std::u16string, int>> names;
    // JavaScript clears the captures inside a quantified atom at each iteration; PCRE2 keeps
    // those of earlier iterations. A quantified atom that holds groups is wrapped in a hidden
    // group "wK"; a capture only counts when it starts inside the last iteration of every
    // wrapper around it. parent: the innermost wrapper around group N (index N) or wrapper
    // K, -1 for none.
    std::vector<int> groupParent;    // size groupCount + 1
    std::vector<int> wrapperParent;  // one per wrapper
    // JavaScript refuses an iteration that matched the empty string once the minimum count
    // is reached. Callout K (1-based) ends iteration K of such a quantifier: the iteration
    // start is group "sK", and for a minimum of one the quantifier's own start is "qK".
    struct EmptyCheck { bool firstMayBeEmpty; };
    std::vector<EmptyCheck> emptyChecks;
    // A back-reference inside a quantified atom to a group of that atom sees the group
    // cleared at each iteration. Such a reference K is written as two alternatives behind
    // the callouts "fK" (the group was set in this iteration: match it) and "sK" (it was
    // set in an earlier one: match the empty string); the iteration starts with the empty
    // group "iN".
    // A reference after a repeated atom that holds its group (inside another repetition or
    // not) sees the group only when it was set in that atom's last iteration: its start is
    // checked against the wrappers "wK" in turn.
    struct BackRefCheck {
        int group;
        std::vector<int> wrappers;  // innermost first
        int iteration;              // -1 for none
    };
    std::vector<BackRefCheck> backRefChecks;
};

struct PatternError {
    int position;  // 1-based unit position in the pattern, 0 when none applies
    std::u16string description;
};

std::variant<TranslatedPattern, PatternError>
translateJsPattern(std::u16string_view pattern, bool ignoreCase, bool multiline);

// n in decimal digits, as the hidden group names ("g3", "w1") and the messages spell it.
std::u16string number(long long n);

} // namespace platform::regexp
