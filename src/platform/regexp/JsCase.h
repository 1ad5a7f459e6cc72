#pragma once
// JavaScript's case-insensitive comparison of UTF-16 units (regular expressions without
// the u flag): two units match when their canonical forms are equal. The canonical form of
// a unit is its full upper-case mapping when that is a single unit, except that a non-ASCII
// unit never maps to an ASCII one; otherwise the unit itself.

#include <cstdint>
#include <span>

namespace platform::regexp {

// The canonical form of unit.
char16_t jsCanonicalize(char16_t unit);

// Every unit whose canonical form differs from itself or is the canonical form of another
// unit, in ascending order: the only units a case-insensitive class can gain members from.
std::span<const char16_t> jsCasedUnits();

// The units other than canonical itself whose canonical form is canonical.
std::span<const char16_t> jsUnitsCanonicalizingTo(char16_t canonical);

} // namespace platform::regexp
