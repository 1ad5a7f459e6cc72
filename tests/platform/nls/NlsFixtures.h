#pragma once
// Reads the oracle files written by tests/tools/gen_nls_fixtures.py: lines of two hex
// fields (or "-" for "refused"), '#' lines are comments.

#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nlstest {

struct FixtureLine {
    std::string first;  // hex as in the file
    std::string second; // hex, or "-"
};

inline std::vector<FixtureLine> readFixture(const std::string& name)
{
    const std::string path = std::string(QUILLET_FIXTURES) + "/nls/" + name;
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("missing fixture " + path);
    std::vector<FixtureLine> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto space = line.find(' ');
        if (space == std::string::npos)
            throw std::runtime_error("bad fixture line in " + path + ": " + line);
        lines.push_back({line.substr(0, space), line.substr(space + 1)});
    }
    return lines;
}

inline std::string bytesFromHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// UTF-16 units written as big-endian hex, four digits per unit.
inline std::u16string unitsFromHex(const std::string& hex)
{
    std::u16string units;
    for (std::size_t i = 0; i + 3 < hex.size(); i += 4)
        units += static_cast<char16_t>(std::stoi(hex.substr(i, 4), nullptr, 16));
    return units;
}

inline std::string hexOfBytes(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

inline std::string hexOfUnits(std::u16string_view units)
{
    std::string hex;
    for (char16_t u : units) {
        const unsigned char pair[2] = {static_cast<unsigned char>(u >> 8),
                                       static_cast<unsigned char>(u & 0xFF)};
        hex += hexOfBytes(std::string_view(reinterpret_cast<const char*>(pair), 2));
    }
    return hex;
}

} // namespace nlstest
