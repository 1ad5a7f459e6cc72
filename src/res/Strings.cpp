#include "res/Strings.h"

#include <algorithm>

namespace res {

std::u16string_view loadString(unsigned id)
{
    const std::span<const StringEntry> table = stringTable();
    const auto it = std::lower_bound(table.begin(), table.end(), id,
                                     [](const StringEntry& e, unsigned key) { return e.id < key; });
    if (it == table.end() || it->id != id)
        return {};
    return it->text;
}

Prompt splitPrompt(std::u16string_view prompt)
{
    const std::size_t lineFeed = prompt.find(u'\n');
    if (lineFeed == std::u16string_view::npos)
        return {prompt, {}};
    return {prompt.substr(0, lineFeed), prompt.substr(lineFeed + 1)};
}

Prompt commandPrompt(unsigned id)
{
    return splitPrompt(loadString(id));
}

std::u16string formatStrings(std::u16string_view format,
                             std::initializer_list<std::u16string_view> args)
{
    std::u16string out;
    out.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char16_t c = format[i];
        if (c == u'%' && i + 1 < format.size() && format[i + 1] >= u'0' && format[i + 1] <= u'9') {
            const int index = format[i + 1] - u'1';
            ++i;
            if (index < 0 || index >= static_cast<int>(args.size()))
                out += u'?';
            else
                out += *(args.begin() + index);
            continue;
        }
        out += c;
    }
    return out;
}

std::u16string formatString1(std::u16string_view format, std::u16string_view arg)
{
    return formatStrings(format, {arg});
}

} // namespace res
