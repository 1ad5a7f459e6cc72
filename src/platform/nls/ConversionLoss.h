#pragma once
// Finds what a conversion would not carry over exactly, so the program can say so before it
// happens: characters a page cannot hold (written as its default character or a best fit)
// and bytes a page cannot decode (read as its replacement character). Qt-free.

#include "platform/nls/CodePages.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::nls {

// Characters of a text that an encoding cannot write back exactly.
struct EncodingLoss {
    std::size_t count = 0;        // characters (a surrogate pair is one)
    std::size_t firstIndex = 0;   // UTF-16 index of the first one
    std::size_t firstLength = 0;  // its UTF-16 units: 1, or 2 for a pair
    char32_t firstCodePoint = 0;  // a lone surrogate is given as itself
    bool any() const { return count != 0; }
};

// Bytes a page decodes to its replacement character.
struct DecodingLoss {
    std::size_t byteCount = 0;    // bytes of all the undecodable sequences
    std::size_t firstOffset = 0;  // where the first one starts
    bool any() const { return byteCount != 0; }
};

// What encode(cp, text) would write inexactly: characters without a round-trip mapping
// (best fits count, since they read back as another character) and lone surrogates.
// nullopt when the page is not installed. One conversion pass; nothing is kept.
std::optional<EncodingLoss> findEncodingLoss(CodePage cp, std::u16string_view text);

// What decode(cp, bytes) would replace. nullopt when the page is not installed.
std::optional<DecodingLoss> findDecodingLoss(CodePage cp, std::string_view bytes);

// The text a character reads back as after a save with the page: its best fit, or the
// default character ("?"); the character itself when the page holds it.
std::u16string savedFormOf(CodePage cp, std::u16string_view character);

} // namespace platform::nls
