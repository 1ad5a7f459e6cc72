#include "doc/RecoveryRecord.h"

#include "platform/Utf8.h"

#include <cstring>

namespace doc {

namespace {

constexpr char kMagic[8] = {'Q', 'u', 'i', 'l', 'l', 'e', 't', 'R'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kChecksumBytes = 8;

void putLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xFF));
}

std::uint64_t getLe(std::string_view in, std::size_t at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(in[at + std::size_t(i)]);
    return value;
}

// FNV-1a over 64-bit words, then over the last few bytes: one multiply per eight bytes, so
// a record of a megabyte costs a fraction of a millisecond. It catches damage, not intent.
std::uint64_t checksum(std::string_view bytes)
{
    constexpr std::uint64_t kPrime = 0x100000001b3ULL;
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + i, 8);
        hash = (hash ^ word) * kPrime;
    }
    for (; i < bytes.size(); ++i)
        hash = (hash ^ std::uint8_t(bytes[i])) * kPrime;
    return hash;
}

// The path as it must be: UTF-8 without NUL, absolute; nothing otherwise.
bool pathFromUtf8(std::string_view bytes, std::u16string& out)
{
    if (bytes.empty()) {
        out.clear();
        return true;
    }
    if (bytes.front() != '/' || bytes.find('\0') != std::string_view::npos)
        return false;
    return platform::fromUtf8(bytes, &out);
}

} // namespace

std::string encodeRecoveryRecord(const RecoveryRecord& record)
{
    std::string path = platform::toUtf8(record.path);
    if (path.size() > kMaxPathBytes)
        path.clear();  // no such path exists; the text is what must survive
    std::string out;
    out.reserve(kRecordFixedHead + path.size() + 2 * record.text.size() + kChecksumBytes);
    out.append(kMagic, sizeof kMagic);
    putLe(out, kVersion, 4);
    putLe(out, record.codePage, 4);
    putLe(out, std::uint64_t(record.savedAt), 8);
    putLe(out, path.size(), 4);
    putLe(out, record.text.size(), 8);
    out += path;
    const std::size_t textAt = out.size();
    out.resize(textAt + 2 * record.text.size());
    char* text = out.data() + textAt;
    for (const char16_t unit : record.text) {
        *text++ = char(unit & 0xFF);
        *text++ = char(unit >> 8);
    }
    putLe(out, checksum(out), 8);
    return out;
}

RecordFault parseRecordHead(std::string_view start, std::uint64_t fileSize,
                            RecoveryRecord& head)
{
    if (fileSize < kRecordFixedHead + kChecksumBytes || start.size() < kRecordFixedHead)
        return RecordFault::Short;
    if (std::memcmp(start.data(), kMagic, sizeof kMagic) != 0)
        return RecordFault::Magic;
    if (getLe(start, 8, 4) != kVersion)
        return RecordFault::Version;
    const std::uint64_t pathBytes = getLe(start, 24, 4);
    const std::uint64_t textUnits = getLe(start, 28, 8);
    if (pathBytes > kMaxPathBytes)
        return RecordFault::Path;
    // Each step stays below fileSize, so nothing overflows.
    const std::uint64_t room = fileSize - kRecordFixedHead - kChecksumBytes;
    if (pathBytes > room || textUnits > (room - pathBytes) / 2 ||
        pathBytes + 2 * textUnits != room)
        return RecordFault::Length;
    if (start.size() < kRecordFixedHead + pathBytes)
        return RecordFault::Short;
    std::u16string path;
    if (!pathFromUtf8(start.substr(kRecordFixedHead, pathBytes), path))
        return RecordFault::Path;
    head.path = std::move(path);
    head.codePage = std::uint32_t(getLe(start, 12, 4));
    head.savedAt = std::int64_t(getLe(start, 16, 8));
    head.text.clear();
    return RecordFault::None;
}

RecordFault parseRecoveryRecord(std::string_view bytes, RecoveryRecord& record)
{
    RecoveryRecord parsed;
    if (const RecordFault fault = parseRecordHead(bytes, bytes.size(), parsed);
        fault != RecordFault::None)
        return fault;
    const std::size_t end = bytes.size() - kChecksumBytes;
    if (checksum(bytes.substr(0, end)) != getLe(bytes, end, 8))
        return RecordFault::Checksum;
    const std::size_t textAt = kRecordFixedHead + std::size_t(getLe(bytes, 24, 4));
    parsed.text.resize((end - textAt) / 2);
    const char* text = bytes.data() + textAt;
    for (char16_t& unit : parsed.text) {
        unit = char16_t(std::uint8_t(text[0]) | (std::uint8_t(text[1]) << 8));
        text += 2;
    }
    record = std::move(parsed);
    return RecordFault::None;
}

} // namespace doc
