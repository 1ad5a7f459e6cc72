#pragma once
// The engine of the regular-expression replace command: the escapes of the replacement
// field and the replace of the whole text with the message an error gives. Qt-free.

#include <optional>
#include <string>
#include <string_view>

namespace view {

// text with backslash escapes expanded: \a \b \f \n \r \t \v give their control
// characters, a backslash before any other unit gives that unit (so "\\" gives one
// backslash), and a backslash at the very end stays.
std::u16string UnescapeReplacement(std::u16string_view text);

struct RegexReplaceRequest {
    std::u16string pattern;
    std::u16string replacement;  // as the object receives it (already unescaped if asked)
    bool global = true;
    bool ignoreCase = true;
    bool multiline = false;
};

// The whole text replaced, or the message box text of the error: "source - description".
struct RegexReplaceOutcome {
    std::u16string text;
    std::optional<std::u16string> message;
};
RegexReplaceOutcome RunRegexReplace(const RegexReplaceRequest& request, std::u16string_view text);

} // namespace view
