#pragma once
// Helpers for byte-exact codec tests: bytes written and shown as spaced hex ("82 A0"), and
// the files under tests/fixtures/japanese/ (written by tests/tools/gen_japanese_fixtures.py).

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

namespace codectest {

// "A4 A2 0D 0A" -> the four bytes. Spaces are optional separators.
inline std::string hexBytes(std::string_view hex)
{
    std::string bytes;
    std::string digits;
    for (char c : hex) {
        if (c == ' ')
            continue;
        digits += c;
        if (digits.size() == 2) {
            bytes += static_cast<char>(std::stoi(digits, nullptr, 16));
            digits.clear();
        }
    }
    if (!digits.empty())
        throw std::invalid_argument("odd number of hex digits");
    return bytes;
}

// The reverse, so that a failing comparison prints readable bytes.
inline std::string toHex(std::string_view bytes)
{
    std::string hex;
    char cell[4];
    for (char c : bytes) {
        std::snprintf(cell, sizeof cell, "%02X", static_cast<unsigned char>(c));
        if (!hex.empty())
            hex += ' ';
        hex += cell;
    }
    return hex;
}

inline std::string readFixture(std::string_view name)
{
    const std::string path = std::string(QUILLET_FIXTURES) + "/japanese/" + std::string(name);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace codectest
