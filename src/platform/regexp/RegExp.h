#pragma once
// The regular-expression object: JavaScript's RegExp dialect (without the u, s and y flags)
// and String.prototype.replace, over PCRE2's 16-bit library. Set the pattern and the three
// options, then call replace; the pattern is compiled on first use after a change.
//
// Matching works on UTF-16 units: the dot, classes and case-insensitive comparison take one
// unit at a time, a lone surrogate is an ordinary unit. Patterns that would backtrack for
// ever are stopped after a bounded amount of work and reported as an error; so is a result
// longer than maxResultUnits().

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::regexp {

// An error as the object reports it: where it comes from and what is wrong, in Japanese.
struct RegExpError {
    std::u16string source;
    std::u16string description;
};

class RegExp {
public:
    RegExp();
    ~RegExp();
    RegExp(const RegExp&) = delete;
    RegExp& operator=(const RegExp&) = delete;

    const std::u16string& pattern() const { return m_pattern; }
    void setPattern(std::u16string_view pattern);
    // Global: every match is replaced, not only the first.
    bool global() const { return m_global; }
    void setGlobal(bool on) { m_global = on; }
    bool ignoreCase() const { return m_ignoreCase; }
    void setIgnoreCase(bool on);
    // Multiline: ^ and $ also match at line terminators (LF, CR, U+2028, U+2029).
    bool multiline() const { return m_multiline; }
    void setMultiline(bool on);

    // Compiles the pattern now; the error when it is invalid.
    std::optional<RegExpError> compile();

    // text with the matches replaced as JavaScript's replace does: $1..$99, $<name>, $&,
    // $`, $', $$. Either the result or the error; text itself is never touched.
    struct Result {
        std::u16string text;
        std::optional<RegExpError> error;
    };
    Result replace(std::u16string_view text, std::u16string_view replacement);

    // Texts of at least this many units are matched by PCRE2's machine code (JIT) where the
    // platform has it, shorter ones by its interpreter, which starts faster. Tests set 0 to
    // run everything as machine code.
    static std::size_t machineCodeFromUnits();
    static void setMachineCodeFromUnits(std::size_t units);

    // Longest result replace gives: 10 MiB of UTF-16.
    static constexpr std::size_t maxResultUnits() { return 5u * 1024 * 1024; }

private:
    struct Compiled;
    std::u16string m_pattern;
    bool m_global = false;
    bool m_ignoreCase = false;
    bool m_multiline = false;
    std::unique_ptr<Compiled> m_compiled;
};

} // namespace platform::regexp
