#include "view/RegexReplace.h"

#include "platform/regexp/RegExp.h"
#include "res/Resource.h"
#include "res/Strings.h"

namespace view {

std::u16string UnescapeReplacement(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char16_t c = text[++i];
        switch (c) {
        case u'a': out += u'\a'; break;
        case u'b': out += u'\b'; break;
        case u'f': out += u'\f'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u't': out += u'\t'; break;
        case u'v': out += u'\v'; break;
        default: out += c; break;
        }
    }
    return out;
}

RegexReplaceOutcome RunRegexReplace(const RegexReplaceRequest& request, std::u16string_view text)
{
    platform::regexp::RegExp re;
    re.setPattern(request.pattern);
    re.setGlobal(request.global);
    re.setIgnoreCase(request.ignoreCase);
    re.setMultiline(request.multiline);
    auto result = re.replace(text, request.replacement);
    RegexReplaceOutcome outcome;
    if (result.error) {
        std::u16string message = result.error->source;
        if (!message.empty())
            message += u" - ";
        message += result.error->description.empty()
                       ? std::u16string(res::loadString(res::IDS_REGEX_UNKNOWN_ERROR))
                                                      : result.error->description;
        outcome.message = std::move(message);
        return outcome;
    }
    outcome.text = std::move(result.text);
    return outcome;
}

} // namespace view
