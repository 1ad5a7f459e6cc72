#pragma once
// The framework's own strings, as an application framework ships them: the OK and Cancel
// buttons, the idle prompt, the file dialogs' titles, the file-error and save-question
// messages. Keyed by the numbers of FrameworkIds.h; a program's string table adds its own.

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace platform::fx {

struct StringEntry {
    unsigned id;
    std::u16string_view text;
};

// Looks up a string of the program's (or the framework's) by id; empty when there is none.
using StringLoader = std::u16string_view (*)(unsigned id);

// The framework's string id, or an empty view. The view refers to static storage.
std::u16string_view frameworkString(unsigned id);
// The framework's whole table, in ascending order of id, each id once.
std::span<const StringEntry> frameworkStringTable();
// Finds id in table (ascending); an empty view when it is not there.
std::u16string_view findString(std::span<const StringEntry> table, unsigned id);

// Whether a table's ids ascend, each id once, as findString needs; tables check it at compile
// time.
constexpr bool idsAscend(std::span<const StringEntry> table)
{
    for (std::size_t i = 1; i < table.size(); ++i)
        if (table[i - 1].id >= table[i].id)
            return false;
    return true;
}

// A command prompt is "status-bar text\ntooltip". Without a line feed the whole text is the
// status-bar text and the tooltip is empty.
struct Prompt {
    std::u16string_view statusText;
    std::u16string_view tooltip;
};
Prompt splitPrompt(std::u16string_view prompt);

// Replaces "%1" .. "%9" in format by the matching argument, in one pass, so placeholders
// inside an argument are never expanded. "%" followed by a digit that names no argument
// ("%0", or "%3" with two arguments) becomes "?"; any other "%" is copied as it is.
std::u16string formatStrings(std::u16string_view format,
                             std::initializer_list<std::u16string_view> args);
// The common case of one argument.
std::u16string formatString1(std::u16string_view format, std::u16string_view arg);

} // namespace platform::fx
