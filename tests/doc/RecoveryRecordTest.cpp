// The recovery record's bytes: every text comes back unit for unit, and every damaged,
// cut-off or hostile record is refused before anything of it is used.

#include "doc/RecoveryRecord.h"

#include <gtest/gtest.h>

#include <cstring>

using doc::RecordFault;
using doc::RecoveryRecord;

namespace {

// The head as parseRecordHead sees it when it is given only what it may need.
RecordFault headOf(const std::string& bytes, RecoveryRecord& head)
{
    return doc::parseRecordHead(std::string_view(bytes).substr(0, doc::kRecordHeadMax),
                                bytes.size(), head);
}

void putU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

} // namespace

TEST(RecoveryRecord, EveryTextPathAndCodePageComesBackExactly)
{
    const std::u16string longPath = u"/" + std::u16string(5000, u'長');  // 15001 UTF-8 bytes
    const RecoveryRecord cases[] = {
        {u"", 932, 0, u""},                                     // an untitled empty text
        {u"/home/ユーザー/メモ.txt", 936, 1733900000, u"一\r\n二\n三\r"},
        // Units that are no characters, NUL and a pair outside the BMP are kept as they are.
        {u"/tmp/a b#%;.txt", 65001, -1, std::u16string(u"\xD800x\0\xDFFF\U0001F600", 6)},
        {longPath, 1252, INT64_MAX, std::u16string(70000, u'\xFEFF')},
    };
    for (const RecoveryRecord& record : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << record.codePage);
        const std::string bytes = doc::encodeRecoveryRecord(record);
        RecoveryRecord back;
        ASSERT_EQ(doc::parseRecoveryRecord(bytes, back), RecordFault::None);
        EXPECT_EQ(back, record);

        RecoveryRecord head;
        head.text = u"stale";
        ASSERT_EQ(headOf(bytes, head), RecordFault::None);
        RecoveryRecord expected = record;
        expected.text.clear();
        EXPECT_EQ(head, expected);
    }

    // A path that is no text (a lone surrogate) is kept as far as it can be written.
    RecoveryRecord lone{std::u16string(u"/a\xDC00", 3), 932, 5, u"t"};
    RecoveryRecord back;
    ASSERT_EQ(doc::parseRecoveryRecord(doc::encodeRecoveryRecord(lone), back), RecordFault::None);
    EXPECT_EQ(back.path, u"/a\xFFFD");
    EXPECT_EQ(back.text, u"t");
}

TEST(RecoveryRecord, EveryCutAndEveryChangedByteIsRefused)
{
    const RecoveryRecord record{u"/m.txt", 932, 1733900000, u"ab\r\n日本"};
    const std::string bytes = doc::encodeRecoveryRecord(record);
    RecoveryRecord untouched{u"/keep", 1, 2, u"keep"};
    const RecoveryRecord before = untouched;
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(doc::parseRecoveryRecord(bytes.substr(0, length), untouched), RecordFault::None)
            << "cut at " << length;
    EXPECT_NE(doc::parseRecoveryRecord(bytes + '\0', untouched), RecordFault::None);
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        for (const int bit : {0, 7}) {
            std::string changed = bytes;
            changed[at] = char(changed[at] ^ (1 << bit));
            EXPECT_NE(doc::parseRecoveryRecord(changed, untouched), RecordFault::None)
                << "byte " << at << " bit " << bit;
        }
    }
    EXPECT_EQ(untouched, before) << "a refused record changes nothing";
}

TEST(RecoveryRecord, HostileHeadsAreRefusedForWhatTheyAre)
{
    const std::string good = doc::encodeRecoveryRecord({u"/m.txt", 932, 7, u"text"});
    const std::size_t pathAt = doc::kRecordFixedHead;
    // A record whose path field holds path (the lengths kept right for it).
    const auto withPath = [&](const std::string& path) {
        std::string bytes = good;
        bytes.replace(pathAt, 6, path);
        putU32(bytes, 24, std::uint32_t(path.size()));
        return bytes;
    };
    struct Case {
        const char* name;
        std::string bytes;
        std::uint64_t fileSize;  // 0: the bytes' own length
        RecordFault fault;
    };
    std::string magic = good, version = good, textPastEnd = good, pathPastEnd = good,
                hugePath = good;
    magic[0] = 'q';
    putU32(version, 8, 2);
    putU32(textPastEnd, 28, 0xFFFFFFFF);
    putU32(textPastEnd, 32, 0xFFFFFFFF);
    putU32(pathPastEnd, 24, 1000);
    putU32(hugePath, 24, std::uint32_t(doc::kMaxPathBytes + 1));
    const Case cases[] = {
        {"nothing", "", 0, RecordFault::Short},
        {"a head cut short", good.substr(0, 20), 0, RecordFault::Short},
        {"another file's magic", magic, 0, RecordFault::Magic},
        {"a later version", version, 0, RecordFault::Version},
        {"a text length past the end", textPastEnd, 0, RecordFault::Length},
        {"a path length past the end", pathPastEnd, 0, RecordFault::Length},
        {"a path longer than any", hugePath, 0, RecordFault::Path},
        {"a file longer than the lengths", good, good.size() + 2, RecordFault::Length},
        {"an overlong slash", withPath("/\xC0\xAF" "etc"), 0, RecordFault::Path},
        {"an encoded surrogate", withPath("/\xED\xA0\x80"), 0, RecordFault::Path},
        {"a cut sequence", withPath("/\xE3\x81"), 0, RecordFault::Path},
        {"a stray continuation", withPath("/\x80x"), 0, RecordFault::Path},
        {"a relative path", withPath("m.txt"), 0, RecordFault::Path},
        {"a NUL in the path", withPath(std::string("/a\0b", 4)), 0, RecordFault::Path},
    };
    for (const Case& c : cases) {
        RecoveryRecord head;
        const std::uint64_t size = c.fileSize ? c.fileSize : c.bytes.size();
        EXPECT_EQ(doc::parseRecordHead(c.bytes, size, head), c.fault) << c.name;
        if (c.fileSize == 0) {
            EXPECT_EQ(doc::parseRecoveryRecord(c.bytes, head), c.fault) << c.name;
        }
    }
}
