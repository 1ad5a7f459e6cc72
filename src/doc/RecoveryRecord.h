#pragma once
// The recovery record: a copy of a text with unsaved changes, kept on disk so that a program
// that dies (a crash, a kill, a power cut) loses nothing that was typed. It holds the text as
// UTF-16 units exactly (lone surrogates and NUL included), the document's path (none for an
// untitled text), the code page the text is edited in and the time the copy was taken.
// Qt-free.
//
// The bytes, all numbers little-endian:
//   0  "QuilletR"           magic
//   8  u32 version          1
//  12  u32 code page
//  16  i64 time             seconds since 1970-01-01 UTC
//  24  u32 path bytes       0 for an untitled text
//  28  u64 text units
//  36  path                 UTF-8, absolute
//      text                 UTF-16LE
//      u64 checksum         of every byte before it
// The lengths account for the whole file exactly; anything else is a damaged record.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace doc {

struct RecoveryRecord {
    std::u16string path;          // the document's full path; empty for an untitled text
    std::uint32_t codePage = 0;
    std::int64_t savedAt = 0;     // seconds since 1970-01-01 UTC
    std::u16string text;

    bool operator==(const RecoveryRecord&) const = default;
};

// Why bytes are no record. Every fault refuses the whole record.
enum class RecordFault {
    None,
    Short,      // fewer bytes than the fixed head: cut off
    Magic,      // not a recovery record at all
    Version,    // a version this program does not read
    Length,     // the lengths do not account for the file's bytes exactly
    Path,       // a path longer than kMaxPathBytes, not UTF-8, not absolute or with a NUL
    Checksum,   // the bytes were changed after they were written
};

// The longest path a record holds, in UTF-8 bytes (Linux allows 4096).
inline constexpr std::size_t kMaxPathBytes = 16384;
// Bytes before the path: what parseRecordHead needs at least.
inline constexpr std::size_t kRecordFixedHead = 36;
// Bytes of a record that parseRecordHead may need: the fixed head and the longest path.
inline constexpr std::size_t kRecordHeadMax = kRecordFixedHead + kMaxPathBytes;

// The record's bytes. A path unit that is no character (a lone surrogate) is written as
// U+FFFD; the text is written exactly.
std::string encodeRecoveryRecord(const RecoveryRecord& record);

// Reads everything but the text from the first bytes of a record (at least
// min(fileSize, kRecordHeadMax) of them) and checks the lengths against fileSize, the
// record's whole length; head.text stays empty. The checksum is not checked: that needs
// the whole record. On a fault head is left as it was.
RecordFault parseRecordHead(std::string_view start, std::uint64_t fileSize,
                            RecoveryRecord& head);

// Reads a whole record, checksum included. On a fault record is left as it was.
RecordFault parseRecoveryRecord(std::string_view bytes, RecoveryRecord& record);

} // namespace doc
