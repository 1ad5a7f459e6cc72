#pragma once
// Private to platform/nls: the table of the Windows code pages we can offer and the ICU
// converter that stands in for each.

#include <span>

#include "platform/nls/CodePages.h"

namespace platform::nls::detail {

// What shapes a page's conversion rules (which flags it takes, what replaces bad bytes).
enum class PageKind : std::uint8_t {
    SingleByte,  // one byte per character; every table page of the 8-bit families
    DoubleByte,  // lead byte + trail byte tables: Shift_JIS, GBK, UHC, Big5, EUC
    Stateful,    // escape-sequence encodings: ISO-2022, HZ; take no flags
    Utf7,        // takes no flags, no default character
    Utf8,        // takes only the invalid-character flags, no default character
    Gb18030,     // takes only the invalid-character flags
};

// Where ICU's table for a page and Windows' table disagree, these make us convert as
// Windows does.

// A character ICU's table gives for a byte sequence that Windows decodes to another one.
// Both directions are corrected; the pairs of a page may form a cycle (IBM's tables rotate
// the controls 1A, 1C and 7F).
struct UnitRemap {
    char16_t icuUnit;
    char16_t windowsUnit;
};

// A single byte ICU leaves unmapped that Windows maps, both directions.
struct ExtraByte {
    std::uint8_t byte;
    char16_t unit;
};

// A best fit Windows writes for a character the page lacks and ICU's fallbacks miss.
// Only when best fit is on. bytes is one byte (0x5C) or a lead/trail pair (0x8160).
struct ExtraBestFit {
    char16_t unit;
    std::uint16_t bytes;
};

struct PageQuirks {
    std::span<const UnitRemap> remaps;
    std::span<const ExtraByte> extraBytes;
    std::span<const ExtraBestFit> bestFits;
};

struct PageEntry {
    CodePage codePage;
    const char* icuName;       // the converter ICU opens for it
    PageKind kind;
    char16_t unicodeDefaultChar; // what bytes with no mapping decode to
    const char16_t* label;     // the name after the number, without the parentheses
    const PageQuirks* quirks = nullptr; // null when ICU converts exactly as Windows does
};

// All entries, ascending by code page. Whether ICU can open them is decided elsewhere.
std::span<const PageEntry> pageTable();

// The entry of cp, or null when the table has none.
const PageEntry* findPage(CodePage cp);

} // namespace platform::nls::detail
