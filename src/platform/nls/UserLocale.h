#pragma once
// The locale whose collation compares and orders text for the user: find's equality and the
// template menu's order both follow it, so the two never disagree about the user's language.
// Qt-free.

#include <string>

namespace platform::nls {

// The ICU locale id of the user's collation, from the environment: LC_ALL, else
// LC_COLLATE, else LANG (a variable set to "" counts as unset), without its code set and
// modifier ("ja_JP.UTF-8" gives "ja_JP"); "" (ICU's root order) for C, POSIX or none, since
// those name no language to tailor the order for.
std::string userCollationLocale();

} // namespace platform::nls
