#pragma once
// The program's string table: every user-visible text, keyed by the numbers of Resource.h.
// The Japanese texts are the program's own words, half-width katakana included, and must be
// used exactly as they are here.

#include "platform/fx/FrameworkStrings.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace res {

using platform::fx::StringEntry;

// The text of string id (the program's, or else the framework's), or an empty view when
// neither table has such a string. The view refers to static storage and stays valid for the
// life of the program.
std::u16string_view loadString(unsigned id);

// The program's whole table, in ascending order of id, each id once (the framework's own
// strings are in platform::fx::frameworkStringTable()).
std::span<const StringEntry> stringTable();

using platform::fx::Prompt;
using platform::fx::splitPrompt;
// The prompt of command id; both parts empty when the command has none.
Prompt commandPrompt(unsigned id);

// "%1" .. "%9" replaced in one pass (see FrameworkStrings.h).
using platform::fx::formatString1;
using platform::fx::formatStrings;

} // namespace res
