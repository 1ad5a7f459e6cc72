// Any bytes as a recovery record: reading never crashes or reads past the bytes, a record
// read whole has a head that reads the same from its first bytes alone, and writing it again
// gives exactly the bytes it was read from.

#include "FuzzCheck.h"

#include "doc/RecoveryRecord.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    doc::RecoveryRecord whole;
    const doc::RecordFault fault = doc::parseRecoveryRecord(bytes, whole);

    // The head from no more than the scan reads, for the file's length as it is and as if the
    // file went on past these bytes.
    doc::RecoveryRecord head;
    const std::string_view start = bytes.substr(0, doc::kRecordHeadMax);
    const doc::RecordFault headFault = doc::parseRecordHead(start, size, head);
    doc::RecoveryRecord longer;
    doc::parseRecordHead(start, std::uint64_t(size) + 4096, longer);

    if (fault == doc::RecordFault::None) {
        FUZZ_CHECK(headFault == doc::RecordFault::None);
        FUZZ_CHECK(head.path == whole.path && head.codePage == whole.codePage &&
                   head.savedAt == whole.savedAt && head.text.empty());
        FUZZ_CHECK(doc::encodeRecoveryRecord(whole) == bytes);
    } else if (fault != doc::RecordFault::Checksum) {
        // Only the checksum needs more than the head.
        FUZZ_CHECK(headFault == fault);
    }
    return 0;
}
