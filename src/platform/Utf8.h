#pragma once

#include <string>
#include <string_view>

// UTF-8, the form of file names and settings files on Linux, and the UTF-16 the program
// holds its text in.
namespace platform {

// s as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view s);

// bytes as UTF-16 when they are well-formed UTF-8 (no overlong forms, no encoded
// surrogates, nothing cut short); false, with out untouched, otherwise.
bool fromUtf8(std::string_view bytes, std::u16string* out);

// bytes as UTF-16, each ill-formed sequence read as U+FFFD, as a text that must be shown
// whatever it holds.
std::u16string fromUtf8Lenient(std::string_view bytes);

bool isWellFormedUtf8(std::string_view bytes);

} // namespace platform
