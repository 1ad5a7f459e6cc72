#pragma once
// What a conversion does not carry over exactly, so the program can say so before it
// happens: characters a page cannot hold (written as its default character or a best fit)
// and bytes a page cannot decode (read as its replacement character). The conversions of
// CodePages.h report them. Qt-free.

#include <cstddef>

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

} // namespace platform::nls
