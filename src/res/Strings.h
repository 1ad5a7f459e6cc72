#pragma once
// The program's string table: every user-visible text, keyed by the numbers of Resource.h.
// The Japanese texts are the program's own words, half-width katakana included, and must be
// used exactly as they are here.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace res {

struct StringEntry {
    unsigned id;
    std::u16string_view text;
};

// The text of string id, or an empty view when the table has no such string. The view
// refers to static storage and stays valid for the life of the program.
std::u16string_view loadString(unsigned id);

// The whole table, in ascending order of id, each id once.
std::span<const StringEntry> stringTable();

// A command prompt is "status-bar text\ntooltip". Without a line feed the whole text is the
// status-bar text and the tooltip is empty.
struct Prompt {
    std::u16string_view statusText;
    std::u16string_view tooltip;
};
Prompt splitPrompt(std::u16string_view prompt);
// The prompt of command id; both parts empty when the command has none.
Prompt commandPrompt(unsigned id);

// Replaces "%1" .. "%9" in format by the matching argument, in one pass, so placeholders
// inside an argument are never expanded. "%" followed by a digit that names no argument
// ("%0", or "%3" with two arguments) becomes "?"; any other "%" is copied as it is.
std::u16string formatStrings(std::u16string_view format,
                             std::initializer_list<std::u16string_view> args);
// The common case of one argument.
std::u16string formatString1(std::u16string_view format, std::u16string_view arg);

} // namespace res
